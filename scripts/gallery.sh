#!/bin/sh
# Renders the control galleries into docs/ with the build's own tools.
# Usage: scripts/gallery.sh BUILD_DIR
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
RENDER="$BUILD/tools/render/clipnab-render"
COMPOSE="$BUILD/tools/gallery/clipnab-gallery"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT INT TERM

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cmake --build "$BUILD" --target clipnab-render clipnab-gallery >/dev/null

# The twelve colour sets of the panel, with a header (Style 0) and without (Style 1).
panel_gallery() {
    set --
    for style in 0 1; do
        theme=0
        while [ "$theme" -le 11 ]; do
            tile="$WORK/panel-$style-$theme.png"
            "$RENDER" panel -o "$tile" --set "Theme=$theme" --set "Style=$style" \
                --set "Caption=Theme $theme"
            set -- "$@" "$tile=Theme $theme, Style $style"
            theme=$((theme + 1))
        done
    done
    "$COMPOSE" -o "$ROOT/docs/panel-gallery.png" --columns 6 \
        --title "XPContainer colour sets" "$@"
    echo "wrote docs/panel-gallery.png"
}

# Every button style (0 to 10) in each state, then at rest with the keyboard focus.
button_gallery() {
    set --
    style=0
    while [ "$style" -le 10 ]; do
        for state in normal hot pressed disabled; do
            tile="$WORK/button-$style-$state.png"
            "$RENDER" button -o "$tile" --size 103x41 --set "Style=$style" \
                --set "Caption=Style $style" --state "$state"
            set -- "$@" "$tile=Style $style, $state"
        done
        tile="$WORK/button-$style-focus.png"
        "$RENDER" button -o "$tile" --size 103x41 --set "Style=$style" \
            --set "Caption=Style $style" --focus
        set -- "$@" "$tile=Style $style, focused"
        style=$((style + 1))
    done
    "$COMPOSE" -o "$ROOT/docs/button-gallery.png" --columns 5 \
        --title "deRurara styles 0-10" "$@"
    echo "wrote docs/button-gallery.png"
}

mkdir -p "$ROOT/docs"
panel_gallery
button_gallery
