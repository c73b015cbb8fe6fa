#!/usr/bin/env bash
# Builds both trees: build/native (unit tests, host tools) and build/win32
# (Install.exe, the package stub, the demo medium, the test robot).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/bootstrap.sh"
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/native" -j "$jobs"

cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DHOST_TOOLS_DIR="$root/build/native" >/dev/null
cmake --build "$root/build/win32" -j "$jobs"
