#!/usr/bin/env bash
# Runs one Windows program under Wine in our private prefix and returns its
# exit code. Used by ctest (as the cross-compiling emulator) and by the run
# and screenshot scripts. Starts (and stops) its own Xvfb when DISPLAY is unset.
# TW_TIMEOUT (seconds, default 300) limits the program's run time.
set -u
. "$(dirname "$0")/wine-env.sh"
[ $# -ge 1 ] || { echo "usage: wine-run.sh PROGRAM.exe [ARGS...]" >&2; exit 2; }
tw_begin || exit 1
timeout -k 5 "${TW_TIMEOUT:-300}" wine "$@"
rc=$?
[ $rc -eq 124 ] && echo "wine-run: $1 timed out after ${TW_TIMEOUT:-300} s" >&2
exit $rc
