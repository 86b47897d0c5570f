#!/bin/sh
# Runs every benchmark executable the build produced (bench/clipnab-bench-*).
# Usage: scripts/bench.sh BUILD_DIR [benchmark options...]
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
[ "$#" -gt 0 ] && shift

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

found=0
status=0
for bench in "$BUILD"/bench/clipnab-bench-*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    found=1
    echo "== $(basename "$bench")"
    "$bench" "$@" || status=1
    echo
done

if [ "$found" -eq 0 ]; then
    echo "no benchmarks in $BUILD/bench (is Google Benchmark installed?)" >&2
    exit 1
fi
exit "$status"
