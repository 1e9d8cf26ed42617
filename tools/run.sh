#!/usr/bin/env bash
# Builds the program folder and its zip (tools/dist.sh), unpacks the zip
# into a folder of its own and starts Tonewell from there under Wine.
# - With DISPLAY set: Tonewell opens on that display, ready for your own
#   files, and runs until you close it.
# - Without one: in a private Xvfb it converts a sample WMA as a user would
#   (add it, choose the output folder, convert), then prints the MP3's path,
#   its duration as ffprobe reads it and a screenshot taken mid-conversion.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TW_BUILD:-build}
bash tools/dist.sh >/dev/null
if ! bash tools/build.sh win ConversionDemo > "$build/run-build.log" 2>&1; then
  tail -30 "$build/run-build.log" >&2
  exit 1
fi
export TW_WINEPREFIX=${TW_WINEPREFIX:-$(realpath "$build")/win/wineprefix}
. tools/wine-env.sh

# Unpacked from the zip a user gets, into a folder whose name has a blank.
stage="$build/run/program folder/Tonewell"
rm -rf "$(dirname "$stage")"
mkdir -p "$(dirname "$stage")"
zip=$(realpath "$build/dist/Tonewell.zip")
(cd "$(dirname "$stage")" && cmake -E tar xf "$zip")

if [ -n "${DISPLAY:-}" ]; then
  tw_ensure_prefix
  cd "$stage"
  exec wine ./Tonewell.exe
fi

tw_begin
# The demo saves into the folder browser's first choice, the desktop folder,
# which a new prefix links to the Linux home: give this prefix a desktop
# folder of its own so the run writes nothing outside the build folder.
for desktop in "$WINEPREFIX"/drive_c/users/*/Desktop; do
  if [ -L "$desktop" ]; then rm "$desktop" && mkdir "$desktop"; fi
done
bmp=$(mktemp --suffix=.bmp)
trap 'rm -f "$bmp"; tw_stop_display' EXIT
result=$(wine "$build/win/companions/demo/ConversionDemo.exe" "$(winepath -w "$stage")\\" \
  "$(winepath -w "$build/samples/sample.wma")" "$(winepath -w "$bmp")" | tr -d '\r')
mp3=$(winepath -u "$(sed -n 's/^mp3=//p' <<<"$result")")
shot=$build/screenshots/converting-$(date +%Y%m%d-%H%M%S).png
mkdir -p "$(dirname "$shot")"
convert "$bmp" "$shot"
echo "MP3: $mp3"
echo "duration (ffprobe): $(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$mp3") s"
echo "status in the list: $(sed -n 's/^status=//p' <<<"$result")"
echo "screenshot (mid-conversion: $(sed -n 's/^mid-conversion=//p' <<<"$result")): $shot"
