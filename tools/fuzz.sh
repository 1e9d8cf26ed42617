#!/usr/bin/env bash
# tools/fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets (clang,
# ASan and UBSan) in ${TW_BUILD:-build}/fuzz and runs each named target (all
# of them by default) for SECONDS (default 600), one after another, niced and
# in one process each, so a shared machine keeps its other cores.
#
# Each target starts from a working copy of its seeds, tests/fuzz/corpus/NAME
# (kept between runs in ${TW_BUILD}/fuzz-corpus/NAME); the bmp target also
# gets the dictionary tests/fuzz/bmp.dict, the skincheck target a built skin.
# Logs and any crashing input land in ${TW_BUILD}/fuzz-runs/NAME/ (those of
# earlier runs in its earlier/). At the end one line per target gives the
# executions, executions per second, corpus size and findings.
# A finding is fixed in the code and its input added to tests/fuzz/corpus/NAME,
# where the host tree's NAME_replay test replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
build=$(realpath -m "${TW_BUILD:-build}")
seconds=${1:-600}
[ $# -gt 0 ] && shift
all=(bmp archive lzh ini colour colour_skinmodel form skincheck tooloutput encoderoutput)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

tree=$build/fuzz
if [ ! -f "$tree/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$tree" -DTW_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
nice -n 19 cmake --build "$tree" -j"${TW_JOBS:-2}" --target "${targets[@]}"

summary=()
for t in "${targets[@]}"; do
  exe=$(find "$tree" -type f -name "$t" -perm -u+x | head -n1)
  [ -n "$exe" ] || { echo "no fuzz target $t" >&2; exit 1; }
  corpus=$build/fuzz-corpus/$t runs=$build/fuzz-runs/$t
  mkdir -p "$corpus" "$runs/earlier"
  # Findings of earlier runs go aside, so the count below is this run's.
  find "$runs" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) \
    -exec mv -t "$runs/earlier" {} +
  find "$src/tests/fuzz/corpus/$t" -type f -exec cp -n -t "$corpus" {} +
  # The skin tool also starts from a real embedded skin, when a tree has built one.
  if [ "$t" = skincheck ]; then
    real=$(ls "$build"/{win,host}/skins/SkinItem1.skn 2>/dev/null | head -n1 || true)
    if [ -n "$real" ]; then cp -n "$real" "$corpus/real-SkinItem1.skn"; fi
  fi
  extra=()
  [ "$t" = bmp ] && extra+=(-dict="$src/tests/fuzz/bmp.dict")
  before=$(find "$corpus" -type f | wc -l)
  echo "== $t: ${seconds}s from $before inputs"
  # -jobs=1 runs the fuzzer in one child process whose log is fuzz-0.log.
  (cd "$runs" && rm -f fuzz-0.log &&
     nice -n 19 "$exe" "$corpus" -jobs=1 -workers=1 -max_total_time="$seconds" \
       -print_final_stats=1 -rss_limit_mb=2048 -timeout=20 \
       -artifact_prefix="$runs/" "${extra[@]}" >/dev/null 2>&1 || true)
  log=$runs/fuzz-0.log
  cp "$log" "$runs/last.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
  after=$(find "$corpus" -type f | wc -l)
  found=$(find "$runs" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  grep -q 'ERROR: libFuzzer\|ERROR: AddressSanitizer\|runtime error:' "$log" && [ "$found" -eq 0 ] && found=1
  line="$t: executions=${execs:-?} exec/s=${rate:-?} corpus=$before->$after findings=$found"
  echo "$line"
  summary+=("$line")
done
echo "== summary"
printf '%s\n' "${summary[@]}"
