#!/usr/bin/env bash
# Runs one Windows program under Wine in our private prefix and returns its
# exit code. Used by ctest (as the cross-compiling emulator) and by the run
# and screenshot scripts. Starts (and stops) its own Xvfb when DISPLAY is unset.
# TW_TIMEOUT (seconds, default 300) limits the program's run time.
set -u
. "$(dirname "$0")/wine-env.sh"
[ $# -ge 1 ] || { echo "usage: wine-run.sh PROGRAM.exe [ARGS...]" >&2; exit 2; }
tw_begin || exit 1
# The program's output goes through a file: a Wine process or the
# persistent wineserver that keeps a copy of our standard handles would keep
# a pipe open after the program ends, and the caller (ctest) would wait for
# its end for ever.
out=$(mktemp)
timeout -k 5 "${TW_TIMEOUT:-300}" wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
[ $rc -eq 124 ] && echo "wine-run: $1 timed out after ${TW_TIMEOUT:-300} s" >&2
exit $rc
