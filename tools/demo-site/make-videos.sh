#!/bin/sh
# Regenerates the bundled demo videos and their thumbnails (run once; the results are committed).
# Each video is a 4 second, 320x240, 15 frames per second FLV with the Sorenson (flv1) codec and
# no sound, made from one of ffmpeg's built-in test sources. The thumbnail is a 120x90 JPEG of
# the frame at one second.
set -eu
cd "$(dirname "$0")"
make_video() {
    id=$1
    source=$2
    ffmpeg -v error -y -f lavfi -i "$source" -t 4 -c:v flv1 -q:v 8 -an "videos/$id.flv"
    ffmpeg -v error -y -ss 1 -i "videos/$id.flv" -frames:v 1 -vf scale=120:90 -q:v 5 \
        "thumbnails/$id.jpg"
}
make_video aTestCard01 "testsrc=size=320x240:rate=15"
make_video bColorBar02 "smptebars=size=320x240:rate=15"
make_video cMandelZm03 "mandelbrot=size=320x240:rate=15"
make_video dTestSrc204 "testsrc2=size=320x240:rate=15"
