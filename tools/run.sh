#!/usr/bin/env bash
# Builds Tonewell and starts it under Wine. With DISPLAY set it opens on that
# display and runs until closed; without one it runs in a private Xvfb, saves
# a PNG screenshot of the main window, prints its path and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh >/dev/null
bash tools/build.sh win Tonewell wincapture >/dev/null
. tools/wine-env.sh
exe=$TW_ROOT/build/win/app/Tonewell.exe
if [ -n "${DISPLAY:-}" ]; then
  tw_ensure_prefix
  exec wine "$exe"
fi
tw_begin
wine "$exe" &
out=$TW_ROOT/build/screenshots/tonewell-$(date +%Y%m%d-%H%M%S).png
sleep 2  # the skin switches on about a quarter second after start-up
tools/screenshot.sh "$out" "Tonewell 2.2" 30000 >/dev/null
echo "screenshot: $out"
