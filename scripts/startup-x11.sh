#!/bin/sh
# Start-up measured from outside the program, on an X server: the time from starting a process to
# its window being mapped (xdotool finds it viewable), for bin/clipnab against the demo site and
# for bench/clipnab-bare-window of the same size (the program's, as just measured) and title,
# taken in turns. Prints the median of ROUNDS (7) for each and their ratio. Without a display it
# runs itself under xvfb-run.
# Needs xdotool and x11-utils (xwininfo); xvfb for xvfb-run.
# Usage: scripts/startup-x11.sh [BUILD_DIR] [ROUNDS]
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
ROUNDS=${2:-7}

if [ -z "${DISPLAY:-}" ]; then
    # A display number of its own, away from the :99 other runs start at; no server reset
    # between the short-lived clients that poll it.
    exec xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24 -noreset" "$0" "$BUILD" "$ROUNDS"
fi
until xwininfo -root >/dev/null 2>&1; do sleep 0.05; done
unset QT_QPA_PLATFORM

TITLE="Clipnab V2"
WORK=$(mktemp -d)
trap 'kill "$SITE_PID" 2>/dev/null || true; rm -rf "$WORK"' EXIT

"$BUILD/tools/demo-site/clipnab-demo-site" >"$WORK/site" 2>/dev/null &
SITE_PID=$!
until grep -qs listening "$WORK/site"; do sleep 0.05; done
export CLIPNAB_SITE="$(awk '{print $NF}' "$WORK/site")"

now_us() { echo $(($(date +%s%N) / 1000)); }

# Starts "$@" in a process group of its own, waits until its window titled $TITLE is viewable,
# ends the group (the browser engine's helper processes too) and prints the milliseconds taken.
# The window's size is left in $SIZE.
mapped_ms() {
    start=$(now_us)
    setsid "$@" >/dev/null 2>"$WORK/log" &
    pid=$!
    until window=$(xdotool search --limit 1 --onlyvisible --pid "$pid" --name "^$TITLE\$" 2>/dev/null); do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "$1 ended without a window:" >&2
            cat "$WORK/log" >&2
            exit 1
        fi
    done
    end=$(now_us)
    SIZE=$(xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
    kill -TERM "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    while kill -0 "-$pid" 2>/dev/null; do sleep 0.05; done
    echo $(((end - start + 500) / 1000))
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

i=0
while [ "$i" -lt "$ROUNDS" ]; do
    mapped_ms "$BUILD/bin/clipnab" >>"$WORK/ours"
    mapped_ms "$BUILD/bench/clipnab-bare-window" "$SIZE" "$TITLE" >>"$WORK/bare"
    i=$((i + 1))
done
# The window the program maps first is the one it keeps once the browser engine has started: an
# OpenGL view added to a shown window would make Qt recreate it. The view paints in software
# where OpenGL draws on the CPU, as on Xvfb; with a GPU it composites with it, and Qt recreates
# the window once, which this check reports.
setsid "$BUILD/bin/clipnab" >/dev/null 2>&1 &
pid=$!
until first=$(xdotool search --limit 1 --onlyvisible --pid "$pid" --name "^$TITLE\$" 2>/dev/null); do
    sleep 0.01
done
sleep 3
later=$(xdotool search --limit 1 --onlyvisible --pid "$pid" --name "^$TITLE\$" 2>/dev/null || true)
kill -TERM "-$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

OURS=$(median <"$WORK/ours")
BARE=$(median <"$WORK/bare")
echo "clipnab     : $(tr '\n' ' ' <"$WORK/ours")-> median $OURS ms"
echo "bare window : $(tr '\n' ' ' <"$WORK/bare")-> median $BARE ms"
awk -v o="$OURS" -v b="$BARE" 'BEGIN {printf "ratio       : %.2f x\n", o / b}'
if [ "$first" = "$later" ]; then
    echo "window kept : yes (3 s after it was mapped)"
else
    echo "window kept : NO, $first became ${later:-nothing} once the engine started"
    exit 1
fi
