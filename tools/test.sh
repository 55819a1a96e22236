#!/usr/bin/env bash
# Builds the shipped 32-bit program and its 64-bit twin with every test, then
# runs the tests under Wine on a virtual screen of their own.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/tools/install-deps.sh"
echo "== building the 32-bit program"
bash "$ROOT/tools/build.sh" win32 -DBUILD_TESTING=ON >/dev/null
echo "== building the 64-bit twin and the tests"
bash "$ROOT/tools/build.sh" win64 -DBUILD_TESTING=ON \
  -DSOLARIM_SHIPPED_EXE="${SOLARIM_BUILD_ROOT:-$ROOT/build}/win32/bin/Solarim.exe" >/dev/null
BUILD="${SOLARIM_BUILD_ROOT:-$ROOT/build}/win64"
. "$ROOT/tools/wine-env.sh"
SOLARIM_OWN_DISPLAY=1 solarim_start_x
trap solarim_stop EXIT
solarim_prefix
cd "$BUILD"
ctest --output-on-failure "$@"
