#!/usr/bin/env bash
# tests/skin/window/WinSkinMenuShots.sh [OUT_DIR]: PNGs of a form with the
# skinned menu bar and its first drop-down open, one per embedded skin
# (OUT_DIR default build/screenshots/menubar). Builds what it needs in the
# Windows tree ($TW_BUILD/win, TW_BUILD default build).
set -euo pipefail
cd "$(dirname "$0")/../../.."
. tools/wine-env.sh
tree=${TW_BUILD:-build}/win
out=${1:-${TW_BUILD:-build}/screenshots/menubar}
bash tools/build.sh win WinSkinMenuShot tw_skins >/dev/null
tw_begin
mkdir -p "$out"
names=(porcelain graphite jade amber ink)
for i in 0 1 2 3 4; do
  bmp=$(mktemp --suffix=.bmp)
  wine "$tree/tests/skin/window/WinSkinMenuShot.exe" "$(winepath -w "$tree/skins/SkinItem$i.skn")" \
    "$(winepath -w "$bmp")" "${TW_MENU_BUTTON:-0}"
  convert "$bmp" "$out/${names[$i]}.png"
  rm -f "$bmp"
  echo "$out/${names[$i]}.png"
done
