#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12; quick when all is there.
set -euo pipefail
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
# wine64 runs the 64-bit twin of the program: 32-bit Linux processes (and so
# 32-bit Wine) cannot start on every machine we build on.
pkgs=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 cmake make python3 wine64 xvfb xauth
      fonts-ipafont-gothic fonts-wine locales googletest imagemagick x11-utils)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then need+=(locales); fi
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
