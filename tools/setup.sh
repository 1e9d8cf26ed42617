#!/usr/bin/env bash
# Installs what building and testing Tonewell needs on Debian 12; does nothing
# for what is already there. Safe to run again.
set -euo pipefail

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

# Package name (with :arch where needed) -> installed?
need=()
want=(
  g++-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386
  libx11-6:i386 libxext6:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386
  libxcursor1:i386 libxcomposite1:i386 libxinerama1:i386 libxfixes3:i386
  libfreetype6:i386 libfontconfig1:i386
  xvfb xauth x11-utils locales fonts-wqy-microhei fonts-wine imagemagick
  cmake g++ make ccache googletest libgtest-dev libbenchmark-dev
  ffmpeg mplayer
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  updated=0
fi

for p in "${want[@]}"; do
  st=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$st" = installed ] || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# The zh_CN.UTF-8 locale: Wine decodes arguments and environment with it.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "setup: generating zh_CN.UTF-8"
  if ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
echo "setup: ok"
