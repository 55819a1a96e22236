#!/usr/bin/env bash
# Builds one variant: win32 (the shipped 32-bit program) or win64 (its 64-bit
# twin, which the tests run under Wine). Extra arguments go to CMake.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win32}; shift || true
case "$arch" in
  win32) toolchain=mingw-i686 ;;
  win64) toolchain=mingw-x86_64 ;;
  *) echo "usage: build.sh win32|win64" >&2; exit 2 ;;
esac
out="${SOLARIM_BUILD_ROOT:-$ROOT/build}/$arch"
cmake -S "$ROOT" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain.cmake" "$@" >/dev/null
cmake --build "$out" -j"$(nproc)"
