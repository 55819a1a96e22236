#!/usr/bin/env bash
# Builds the program and starts it under Wine. Without a display of your own
# it runs on a virtual screen and saves a screenshot of what it shows.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/tools/install-deps.sh"
bash "$ROOT/tools/build.sh" win64 >/dev/null
BUILD="${SOLARIM_BUILD_ROOT:-$ROOT/build}/win64"
. "$ROOT/tools/wine-env.sh"
had_display=${DISPLAY:-}
solarim_start_x
trap solarim_stop EXIT
solarim_prefix
# Our sample screen saver where the open dialog looks first.
if [ -f "$BUILD/bin/Hinode.scr" ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/system"
  cp "$BUILD/bin/Hinode.scr" "$WINEPREFIX/drive_c/windows/system/"
fi
if [ -n "$had_display" ]; then
  echo "Starting Solarim on $DISPLAY"
  "$WINE" "$BUILD/bin/Solarim.exe"
else
  "$WINE" "$BUILD/bin/Solarim.exe" >/dev/null 2>&1 </dev/null &
  sleep "${SOLARIM_SHOT_DELAY:-4}"
  shot="${SOLARIM_BUILD_ROOT:-$ROOT/build}/solarim.png"
  # The prompt blinks red and blue; keep a picture of it in red, its colour
  # at start.
  for _ in 1 2 3 4 5 6; do
    import -window root "$shot"
    red=$(convert "$shot" -fuzz 20% -fill black +opaque '#FF0000' -fill white -opaque '#FF0000' \
          -format '%[fx:int(mean*w*h)]' info:)
    [ "$red" -gt 200 ] && break
    sleep 0.2
  done
  echo "Screenshot of the running program: $shot"
fi
