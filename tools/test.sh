#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the host
# tree natively (ASan + UBSan), the Windows tree under Wine in one Xvfb.
# Ends with "N passed, N failed" (ctest tests of both trees; a tree that did
# not build counts as one failure) and a non-zero exit code on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
bash tools/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }
mkdir -p build

passed=0 failed=0
build_tree() {  # name
  local t0=$(date +%s)
  # Keep going past a broken target so every test that builds still runs.
  if TW_KEEP_GOING=1 bash tools/build.sh "$1" > "build/$1-build.log" 2>&1; then
    echo "== $1: built in $(( $(date +%s) - t0 )) s"
  else
    echo "== $1: build FAILED (see build/$1-build.log):"
    grep -E 'error|Error' "build/$1-build.log" | head -20
    failed=$((failed + 1))
  fi
}

run_tests() {  # name
  local dir=build/$1 log=build/$1-ctest.log t0=$(date +%s)
  ctest --test-dir "$dir" -j"${TW_JOBS:-$(nproc)}" --output-on-failure --timeout 600 > "$log" 2>&1
  grep -E '^\s*[0-9]+/[0-9]+ Test' "$log" | sed 's/^ */  /'
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    echo "== $1: ctest gave no summary (see $log)"
    tail -20 "$log"
    failed=$((failed + 1))
    return
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  if [ "$bad" != 0 ]; then
    echo "== $1: failures (output in $log):"
    sed -n '/The following tests FAILED/,$p' "$log"
  fi
  echo "== $1: $((total - bad)) of $total passed in $(( $(date +%s) - t0 )) s"
}

build_tree host
build_tree win
run_tests host

# One Xvfb and one persistent wineserver for all Windows tests.
. tools/wine-env.sh
export TW_WINEPREFIX=$TW_ROOT/build/win/wineprefix WINEPREFIX=$TW_ROOT/build/win/wineprefix
unset DISPLAY
tw_begin
wineserver -p >/dev/null 2>&1 || true
# Start the desktop process now, detached from our output: one started by a
# test would inherit ctest's output pipe and, living on with the persistent
# wineserver, keep ctest waiting for the end of that test's output.
(wine explorer /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &)
sleep 2
run_tests win
tw_stop_display
trap - EXIT

echo "== total time $(( $(date +%s) - start )) s"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ] && [ "$passed" -gt 0 ]
