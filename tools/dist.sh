#!/usr/bin/env bash
# Assembles the program folder a user gets, $TW_BUILD/dist/Tonewell/ (default
# build/dist/Tonewell/), and a zip of it beside: Tonewell.exe, our ffmpeg.exe
# and mplayer.exe, the stock encoder with its licence in encoder/, a read-me.
# The folder depends on nothing outside itself: copy it anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TW_BUILD:-build}
bash tools/setup.sh >/dev/null
mkdir -p "$build"
if ! bash tools/build.sh win Tonewell companion_ffmpeg companion_mplayer > "$build/dist-build.log" 2>&1; then
  tail -30 "$build/dist-build.log" >&2
  echo "dist: the build failed (whole log: $build/dist-build.log)" >&2
  exit 1
fi

out=$build/dist
dist=$out/Tonewell
rm -rf "$dist" "$out/Tonewell.zip"
mkdir -p "$dist/encoder"
# Our programs without their debugging information.
for exe in app/Tonewell.exe companions/win/bin/ffmpeg.exe companions/win/bin/mplayer.exe; do
  i686-w64-mingw32-strip -s -o "$dist/$(basename "$exe")" "$build/win/$exe"
done
cp "$build/encoder/ffmpeg.exe" "$build/encoder/LICENSE.txt" "$build/encoder/package.json" "$dist/encoder/"
sed 's/$/\r/' > "$dist/README.txt" <<'TEXT'
Tonewell - WMA to MP3 batch converter

Start Tonewell.exe. Add WMA files with the add button, choose the output
folder, then start the conversion. Each file becomes an MP3 of the same name
in the output folder (variable bit rate, about 190 kbit/s; title, artist
and year carried over as ID3v2.3 tags).

Files in this folder
  Tonewell.exe   the program
  ffmpeg.exe     converts one file; Tonewell starts it for every file
  mplayer.exe    reads a file's playing time when it is added
  encoder\       the stock encoder both of them run (ffmpeg.exe), with
                 its licence (LICENSE.txt, GNU GPL version 3) and its
                 package description

Keep the files together: Tonewell looks for ffmpeg.exe and mplayer.exe in
its own folder, and they look for encoder\ffmpeg.exe in theirs. Without the
encoder, a conversion fails with the message "the stock encoder is missing".
TEXT
(cd "$out" && cmake -E tar cf Tonewell.zip --format=zip Tonewell)
echo "$dist"
echo "$out/Tonewell.zip"
