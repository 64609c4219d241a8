#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

# The module's tests built for 32-bit x86 Linux and run under qemu-i386-static,
# then the whole tree under AddressSanitizer and UndefinedBehaviorSanitizer.
for preset in i386 asan; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# The fuzz targets: replay their seeds and kept crash inputs, then fuzz briefly.
scripts/fuzz.sh
