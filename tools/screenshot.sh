#!/usr/bin/env bash
# tools/screenshot.sh OUT.png [WINDOW_TITLE] [WAIT_MS]
# Saves a PNG of one Wine window (found by a part of its title; the frame is
# included) or, without a title, of the whole virtual desktop. Run it on the
# DISPLAY and with the Wine prefix (TW_WINEPREFIX) of the running program.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
[ $# -ge 1 ] || { echo "usage: screenshot.sh OUT.png [WINDOW_TITLE] [WAIT_MS]" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "screenshot: DISPLAY is not set" >&2; exit 2; }
out=$1 title=${2:-*} wait=${3:-15000}
capture=${TW_WINCAPTURE:-$TW_ROOT/build/win/tools/wincapture/wincapture.exe}
[ -f "$capture" ] || { echo "screenshot: $capture is missing (build the win tree)" >&2; exit 2; }
mkdir -p "$(dirname "$out")"
bmp=$(mktemp --suffix=.bmp)
trap 'rm -f "$bmp"' EXIT
wine "$capture" "$title" "$(winepath -w "$bmp" 2>/dev/null)" "$wait"
convert "$bmp" "$out"
echo "$out"
