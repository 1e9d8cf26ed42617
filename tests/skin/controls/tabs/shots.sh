#!/usr/bin/env bash
# Tabs on every side and a status bar under each embedded skin, as PNG files
# in $TW_BUILD/screenshots/tabs/ (default build/...): tabs-skin0.png ..
# tabs-skin4.png. Builds TabsShot, runs it under Wine (in a private Xvfb when
# DISPLAY is unset) and prints the paths.
set -euo pipefail
cd "$(dirname "$0")/../../../.."
build=${TW_BUILD:-$PWD/build}
bash tools/build.sh win TabsShot >/dev/null
out=$build/screenshots/tabs
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png
. tools/wine-env.sh
tw_begin
folder=$(winepath -w "$out" 2>/dev/null)
TW_TIMEOUT=120 tools/wine-run.sh "$build/win/tests/skin/controls/tabs/TabsShot.exe" "$folder"
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$out"/*.png
