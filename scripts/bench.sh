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
    # Start-up is timed against a real X server where there is one to start: offscreen, the
    # bare window it is compared with paints no text at all.
    if [ "$(basename "$bench")" = clipnab-bench-startup ] && command -v xvfb-run >/dev/null 2>&1; then
        echo "(on Xvfb)"
        QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" "$@" || status=1
    else
        "$bench" "$@" || status=1
    fi
    echo
done

if [ "$found" -eq 0 ]; then
    echo "no benchmarks in $BUILD/bench (is Google Benchmark installed?)" >&2
    exit 1
fi
exit "$status"
