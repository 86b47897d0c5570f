#!/bin/sh
# Renders the program's PNG icons from its SVG (needs rsvg-convert from librsvg2-bin; run by
# hand when the SVG changes, the PNGs are committed).
set -eu
cd "$(dirname "$0")/../data/icons/hicolor"
for size in 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" scalable/apps/org.clipnab.Clipnab.svg \
        -o "${size}x${size}/apps/org.clipnab.Clipnab.png"
done
