#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ binutils      # native build; nm reads the module's exports
  libgtest-dev libgmock-dev           # tests
  nlohmann-json3-dev                  # the workbench's scene files
  libfmt-dev                          # the workbench's messages (GCC 12 has no <format>)
  libembree-dev libtbb-dev libpng-dev  # the workbench's renderer: ray tracing, threads, PNG files
  libcli11-dev                        # the tarvelin command line
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686  # the 32-bit Windows module
  clang libclang-rt-14-dev            # the fuzz targets (libFuzzer, sanitizers)
  g++-multilib qemu-user-static googletest  # the module's tests built for 32-bit x86 and emulated
  valgrind                            # the end-to-end tests under memcheck
  libbenchmark-dev                    # the benchmarks (scripts/bench.sh)
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
