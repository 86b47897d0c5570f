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

# The button's tooltip window in its two forms, and its about box at rest and pressed.
tip_and_about_gallery() {
    "$RENDER" tooltip -o "$WORK/tip-balloon.png" --set "ToolTip=Download the video in the address box" \
        --set ToolTipTitle=Clipnab --set ToolTipIcon=1
    "$RENDER" tooltip -o "$WORK/tip-warning.png" --set "ToolTip=Stop & save what has arrived" \
        --set "ToolTipTitle=Downloading" --set ToolTipIcon=2 --set ToolTipBackColor=0xE1F5FF \
        --set ToolTipForeColor=0x402000
    "$RENDER" tooltip -o "$WORK/tip-rectangle.png" --set "ToolTip=Close Clipnab" \
        --set ToolTipType=0
    "$COMPOSE" -o "$ROOT/docs/tooltips.png" --columns 3 --title "deRurara tooltips" \
        "$WORK/tip-balloon.png=Balloon, information icon" \
        "$WORK/tip-warning.png=Balloon, warning icon, own colours" \
        "$WORK/tip-rectangle.png=Rectangle (ToolTipType 0)"
    echo "wrote docs/tooltips.png"
    "$RENDER" about -o "$WORK/about.png"
    "$RENDER" about -o "$WORK/about-pressed.png" --state pressed
    "$COMPOSE" -o "$ROOT/docs/about-box.png" --columns 2 --title "deRurara about box" \
        "$WORK/about.png=At rest" "$WORK/about-pressed.png=Mouse button down"
    echo "wrote docs/about-box.png"
}

mkdir -p "$ROOT/docs"
panel_gallery
button_gallery
tip_and_about_gallery
