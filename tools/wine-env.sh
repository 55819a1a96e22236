# Sourced by run.sh and test.sh: a Wine prefix of our own inside the build
# tree, an X display, and one wineserver kept for the whole run.
# Needs BUILD (the build folder) set by the caller.

export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX="$BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8

solarim_start_x() {
  # A virtual screen of our own unless the caller already has one.
  if [ -z "${DISPLAY:-}" ] || [ "${SOLARIM_OWN_DISPLAY:-}" = 1 ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    SOLARIM_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
}

solarim_prefix() {
  local fresh=0
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  mkdir -p "$WINEPREFIX"
  # Detach every output: Wine's service processes must not hold our pipes.
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
  "$WINE" wineboot >/dev/null 2>&1 </dev/null
  if [ "$fresh" = 1 ]; then
    # A virtual desktop with a taskbar: a notification area to live in, and
    # hides that do not wait for a window manager.
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops\Default' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
    # The Japanese UI font the program asks for, served by IPA's.
    "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "ＭＳ Ｐゴシック" /d "IPAPGothic" /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "ＭＳ ゴシック" /d "IPAGothic" /f >/dev/null 2>&1
    # The caption buttons' glyphs, where this Wine does not find them itself.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    "$WINESERVER" -p >/dev/null 2>&1 </dev/null
    "$WINE" wineboot >/dev/null 2>&1 </dev/null
  fi
}

solarim_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${SOLARIM_XVFB_PID:-}" ] && kill "$SOLARIM_XVFB_PID" 2>/dev/null || true
}

# Windows' own path of a file in the Unix tree (Wine maps / to Z:).
solarim_winpath() { printf 'Z:%s' "$(readlink -f "$1")" | tr / '\\'; }
