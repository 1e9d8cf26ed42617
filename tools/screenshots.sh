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
#   chooser/skinN*.png, chooser/banner-skinN.png
#                   the real program under each skin chosen from its system
#                   menu with the mouse: just started, 30 rows with the
#                   output folder set, the convert button hovered and
#                   pressed, mid-run; the banner band under two skins
#                   (tools/wincapture/TonewellShots.cpp)
# Runs in a private Xvfb; prints the paths. TW_BUILD picks the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh >/dev/null
bash tools/build.sh win Tonewell wincapture TonewellShots ConverterBench Gallery SkinFrameBench >/dev/null
win=${TW_BUILD:-$PWD/build}/win
export TW_WINCAPTURE=$win/tools/wincapture/wincapture.exe
. tools/wine-env.sh
unset DISPLAY
tw_begin
out=$TW_ROOT/build/screenshots
mkdir -p "$out"

wine "$win/app/Tonewell.exe" &
sleep 2
tools/screenshot.sh "$out/idle.png" "Tonewell 2.2" 30000
wineserver -k; sleep 1

wine "$win/tests/gui/gallery/Gallery.exe" &
tools/screenshot.sh "$out/gallery.png" "Control gallery" 30000
wineserver -k; sleep 1

wine "$win/bench/converter/ConverterBench.exe" 10 >/dev/null 2>&1 &
bench=$!
sleep 16  # files added, the first one converting
tools/screenshot.sh "$out/converting.png" "Tonewell 2.2" 30000
kill $bench 2>/dev/null || true
wineserver -k; sleep 1

mkdir -p "$out/skins"
wine "$win/bench/skin/SkinFrameBench.exe" --shots "$(winepath -w "$out/skins" 2>/dev/null)" >/dev/null 2>&1
for bmp in "$out"/skins/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$out"/skins/*.png

# The stand-in converter takes 40 s a file, so every skin finds the run
# mid-file.
mkdir -p "$out/chooser"
rm -f "$out"/chooser/*.png
TONEWELL_FAKE_SECONDS=40 wine "$win/tools/wincapture/TonewellShots.exe" \
  "$(winepath -w "$win/tools/wincapture/tonewell" 2>/dev/null)" "$(winepath -w "$out/chooser" 2>/dev/null)" 2>/dev/null
wineserver -k; sleep 1
for bmp in "$out"/chooser/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$out"/chooser/*.png
