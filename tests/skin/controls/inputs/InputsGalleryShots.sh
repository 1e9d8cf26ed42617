#!/usr/bin/env bash
# tests/skin/controls/inputs/InputsGalleryShots.sh [OUT_DIR]: PNGs of the
# control gallery with its combo box dropped down (NAME.png) and closed
# (NAME-closed.png), and the common open dialog over it (NAME-open-dialog.png),
# for each embedded skin (OUT_DIR default build/screenshots/inputs). Builds what it needs in the
# Windows tree ($TW_BUILD/win, TW_BUILD default build).
set -euo pipefail
cd "$(dirname "$0")/../../../.."
. tools/wine-env.sh
tree=${TW_BUILD:-build}/win
out=${1:-${TW_BUILD:-build}/screenshots/inputs}
bash tools/build.sh win InputsGalleryShot tw_skins >/dev/null
tw_begin
mkdir -p "$out"
names=(porcelain graphite jade amber ink)
for i in 0 1 2 3 4; do
  for mode in "" --closed --open-dialog; do
    bmp=$(mktemp --suffix=.bmp)
    wine "$tree/tests/skin/controls/inputs/InputsGalleryShot.exe" "$(winepath -w "$tree/skins/SkinItem$i.skn")" \
      "$(winepath -w "$bmp")" $mode
    png=$out/${names[$i]}${mode/--/-}.png
    convert "$bmp" "$png"
    rm -f "$bmp"
    echo "$png"
  done
done
