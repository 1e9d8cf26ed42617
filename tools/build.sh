#!/usr/bin/env bash
# tools/build.sh [host|win|all] [TARGET...]: configures a tree (once) and
# builds it, or only the named targets. TW_KEEP_GOING=1 builds past errors.
# TW_BUILD (default build) is the folder that holds the trees, so several
# developers can build one source tree side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${TW_JOBS:-$(nproc)}
build_tree() {  # name, targets...
  local dir=${TW_BUILD:-build}/$1 args=()
  shift
  local conf=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  [ "$(basename "$dir")" = win ] && conf+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "${conf[@]}" >/dev/null
  fi
  [ $# -gt 0 ] && args+=(--target "$@")
  if [ -n "${TW_KEEP_GOING:-}" ]; then
    cmake --build "$dir" -j"$jobs" "${args[@]}" -- -k
  else
    cmake --build "$dir" -j"$jobs" "${args[@]}"
  fi
}
tree=${1:-all}
[ $# -gt 0 ] && shift
case "$tree" in
  host|win) build_tree "$tree" "$@" ;;
  all) build_tree host "$@"; build_tree win "$@" ;;
  *) echo "usage: build.sh [host|win|all] [TARGET...]" >&2; exit 2 ;;
esac
