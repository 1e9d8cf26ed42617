#!/usr/bin/env bash
# Screenshots of the main window as a user sees it, in build/screenshots/:
#   idle.png        just started
#   converting.png  three files added, mid-run (driven by the converter
#                   benchmark, which adds files and converts them with the
#                   stand-in converter paced at 10 s a file)
#   gallery.png     the GUI library's control gallery (tests/gui/gallery)
#   skins/plain.png, skins/skin0.png .. skin4.png
#                   the main window without its skin and under each of the
#                   five embedded skins (the skinned frame's timing driver)
# Runs in a private Xvfb; prints the paths.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh >/dev/null
bash tools/build.sh win Tonewell wincapture ConverterBench Gallery SkinFrameBench >/dev/null
. tools/wine-env.sh
unset DISPLAY
tw_begin
out=$TW_ROOT/build/screenshots
mkdir -p "$out"

wine "$TW_ROOT/build/win/app/Tonewell.exe" &
sleep 2
tools/screenshot.sh "$out/idle.png" "Tonewell 2.2" 30000
wineserver -k; sleep 1

wine "$TW_ROOT/build/win/tests/gui/gallery/Gallery.exe" &
tools/screenshot.sh "$out/gallery.png" "Control gallery" 30000
wineserver -k; sleep 1

wine "$TW_ROOT/build/win/bench/converter/ConverterBench.exe" 10 >/dev/null 2>&1 &
bench=$!
sleep 16  # files added, the first one converting
tools/screenshot.sh "$out/converting.png" "Tonewell 2.2" 30000
kill $bench 2>/dev/null || true
wineserver -k; sleep 1

mkdir -p "$out/skins"
wine "$TW_ROOT/build/win/bench/skin/SkinFrameBench.exe" --shots "$(winepath -w "$out/skins" 2>/dev/null)" >/dev/null 2>&1
for bmp in "$out"/skins/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$out"/skins/*.png
