#!/usr/bin/env bash
# tools/build.sh [host|win|all]: configures (once) and builds the trees.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${TW_JOBS:-$(nproc)}
build_tree() {
  local dir=build/$1
  shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
  if [ -n "${TW_KEEP_GOING:-}" ]; then
    cmake --build "$dir" -j"$jobs" -- -k
  else
    cmake --build "$dir" -j"$jobs"
  fi
}
case "${1:-all}" in
  host) build_tree host ;;
  win) build_tree win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake ;;
  all) build_tree host; build_tree win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake ;;
  *) echo "usage: build.sh [host|win|all]" >&2; exit 2 ;;
esac
