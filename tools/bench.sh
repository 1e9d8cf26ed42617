#!/usr/bin/env bash
# Builds the host benchmarks without sanitizers (build/bench, Release) and
# runs them; figures are printed, never asserted. Extra arguments go to each
# benchmark (e.g. --benchmark_filter=...).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build/bench
if [ ! -f $dir/CMakeCache.txt ]; then
  cmake -S . -B $dir -DCMAKE_BUILD_TYPE=Release -DTW_SANITIZE=OFF >/dev/null
fi
targets=$(grep -rhoE 'tw_bench\(([A-Za-z0-9_]+)' bench | sed 's/tw_bench(//')
cmake --build $dir -j"$(nproc)" --target $targets >/dev/null
for t in $targets; do
  exe=$(find $dir/bench -type f -name "$t" -perm -u+x | head -1)
  echo "== $t"
  "$exe" "$@"
done
