#!/usr/bin/env bash
# Installs what building and testing Tonewell needs on Debian 12; does nothing
# for what is already there. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

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

# npm fetches the stock encoder; any npm on the PATH will do.
command -v npm >/dev/null || need+=(npm)

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

# The stock encoder that our ffmpeg.exe and mplayer.exe drive: a 32-bit
# Windows build fetched from the npm registry into the build folder (never
# committed), checked against the archive's published integrity. Fetched
# once; a second run finds it in place and downloads nothing.
build=${TW_BUILD:-build}
encoder_pkg=@ffmpeg-installer/win32-ia32@4.1.0
encoder_integrity=sha512-FV2D7RlaZv/lrtdhaQ4oETwoFUsUjlUiasiZLDxhEUPdNDWcH1OU9K1xTvqz+OXLdsmYelUDuBS/zkMOTtlUAw==
encoder_dir=$build/encoder
if [ "$(cat "$encoder_dir/.integrity" 2>/dev/null)" != "$encoder_integrity" ] || [ ! -f "$encoder_dir/ffmpeg.exe" ]; then
  echo "setup: fetching the stock encoder $encoder_pkg"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  (cd "$tmp" && npm pack --silent "$encoder_pkg" >/dev/null)
  tgz=$(ls "$tmp"/*.tgz)
  got=sha512-$(openssl dgst -sha512 -binary "$tgz" | base64 -w0)
  if [ "$got" != "$encoder_integrity" ]; then
    echo "setup: $encoder_pkg does not match its published integrity ($got)" >&2
    exit 1
  fi
  tar -xzf "$tgz" -C "$tmp"
  rm -rf "$encoder_dir"
  mkdir -p "$encoder_dir"
  cp "$tmp/package/ffmpeg.exe" "$tmp/package/package.json" "$encoder_dir/"
  # The package states its licence (GPL version 3) without the text.
  cp /usr/share/common-licenses/GPL-3 "$encoder_dir/LICENSE.txt"
  echo "$encoder_integrity" > "$encoder_dir/.integrity"
  rm -rf "$tmp"
  trap - EXIT
fi

# Sample WMA files made with Debian's ffmpeg (tagged the way a WMA encoder
# tags: title, author, WM/Year) for the run command, the end-to-end test and
# the benchmark.
samples=$build/samples
wma() {  # file seconds frequency title artist year
  [ -f "$1" ] && return 0
  ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i "sine=frequency=$3:duration=$2" -ac 2 -ar 44100 \
    -c:a wmav2 -b:a 128k -metadata title="$4" -metadata artist="$5" -metadata WM/Year="$6" -y "$1.tmp.wma"
  mv "$1.tmp.wma" "$1"
}
mkdir -p "$samples/bench"
wma "$samples/sample.wma" 180 440 "示例乐曲" "Tonewell" 2020
wma "$samples/first.wma" 12 330 "第一首歌" "歌手甲" 2019
wma "$samples/second.wma" 7.5 550 "Second Song" "The Band" 1999
for i in 01 02 03 04 05 06 07 08 09 10; do
  wma "$samples/bench/track$i.wma" 60 $((200 + 10#$i * 40)) "Track $i" "Bench" 2021
done
echo "setup: ok"
