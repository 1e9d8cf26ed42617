#!/usr/bin/env bash
# The control gallery under each embedded skin, as PNG files in
# build/screenshots/gallery-skins/ (or $TW_BUILD/screenshots/...):
# gallery-skin0.png .. gallery-skin4.png. Builds SkinnedGallery, runs it
# under Wine (in a private Xvfb when DISPLAY is unset) and prints the paths.
set -euo pipefail
cd "$(dirname "$0")/../../../.."
build=${TW_BUILD:-$PWD/build}
bash tools/build.sh win SkinnedGallery >/dev/null
out=$build/screenshots/gallery-skins
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png
. tools/wine-env.sh
tw_begin
folder=$(winepath -w "$out" 2>/dev/null)
TW_TIMEOUT=120 tools/wine-run.sh "$build/win/tests/skin/controls/buttons/SkinnedGallery.exe" "$folder"
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$out"/*.png
