#!/usr/bin/env bash
# Builds both camera modules and says where they are.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset dev
cmake --build --preset dev

echo
echo "Windows module for the host: $(pwd)/build/dev/windows/TarvelinCam.p"
echo "Native module for tests and the stand-in host: $(pwd)/build/dev/TarvelinCam.so"
