#!/bin/sh
# Starts the bundled demo site on a free port and Clipnab pointed at it; the site stops when
# the program exits.
set -eu
BUILD=${1:-build}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: run it under Xvfb with 'xvfb-run -a make run' (or set DISPLAY)."
    exit 1
fi

PROGRAM="$BUILD/bin/clipnab"
SITE="$BUILD/bin/clipnab-demo-site"
[ -x "$SITE" ] || SITE="$BUILD/tools/demo-site/clipnab-demo-site"

LOG=$(mktemp)
"$SITE" --port 0 >"$LOG" &
SITE_PID=$!
trap 'kill $SITE_PID 2>/dev/null; rm -f "$LOG"' EXIT INT TERM

# The site prints "listening on http://127.0.0.1:PORT" once it is up.
URL=""
for _ in $(seq 1 100); do
    URL=$(sed -n 's/^listening on //p' "$LOG")
    [ -n "$URL" ] && break
    kill -0 $SITE_PID 2>/dev/null || { echo "The demo site did not start."; exit 1; }
    sleep 0.1
done
[ -n "$URL" ] || { echo "The demo site did not answer in time."; exit 1; }

echo "Demo site: $URL (videos are saved in $BUILD/bin/download)"
CLIPNAB_SITE="$URL" "$PROGRAM"
