#!/usr/bin/env bash
# Start-up time, idle CPU and file size of Solarim against a bare Win32
# program, each as a ratio measured in the same run.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/tools/install-deps.sh"
bash "$ROOT/tools/build.sh" win32 -DBUILD_TESTING=ON >/dev/null
bash "$ROOT/tools/build.sh" win64 -DBUILD_TESTING=ON >/dev/null
B32="${SOLARIM_BUILD_ROOT:-$ROOT/build}/win32/bin"
s=$(stat -c %s "$B32/Solarim.exe"); b=$(stat -c %s "$B32/bench_bare.exe")
echo "32-bit file size: Solarim.exe $s bytes, bare program $b bytes, ratio $(awk "BEGIN{printf \"%.2f\", $s/$b}")"
BUILD="${SOLARIM_BUILD_ROOT:-$ROOT/build}/win64"
. "$ROOT/tools/wine-env.sh"
SOLARIM_OWN_DISPLAY=1 solarim_start_x
trap solarim_stop EXIT
solarim_prefix
"$WINE" "$BUILD/bin/startup_bench.exe" "$@"
