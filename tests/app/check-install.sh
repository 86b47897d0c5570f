#!/bin/sh
# Installs the build into a temporary prefix and checks what lands there: exactly the program,
# its browser engine module, its desktop entry, icons, metadata and man page; that the entry and
# metadata validate (with desktop-file-validate and appstreamcli where they are installed); and
# that the installed program answers without a display.
# Usage: check-install.sh BUILD_DIR LIBDIR (the library folder below the prefix)
set -eu
build=$1
libdir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null

LC_ALL=C sort >"$work/expected" <<LIST
bin/clipnab
$libdir/clipnab/clipnab-webengine.so
share/applications/org.clipnab.Clipnab.desktop
share/icons/hicolor/128x128/apps/org.clipnab.Clipnab.png
share/icons/hicolor/256x256/apps/org.clipnab.Clipnab.png
share/icons/hicolor/48x48/apps/org.clipnab.Clipnab.png
share/icons/hicolor/64x64/apps/org.clipnab.Clipnab.png
share/icons/hicolor/scalable/apps/org.clipnab.Clipnab.svg
share/man/man1/clipnab.1.gz
share/metainfo/org.clipnab.Clipnab.metainfo.xml
LIST
(cd "$prefix" && find . -type f -o -type l) | sed 's|^\./||' | LC_ALL=C sort >"$work/installed"
diff -u "$work/expected" "$work/installed" || { echo "installed files differ"; exit 1; }
[ -x "$prefix/bin/clipnab" ] || { echo "bin/clipnab is not executable"; exit 1; }
gzip -t "$prefix/share/man/man1/clipnab.1.gz"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/org.clipnab.Clipnab.desktop"
else
    echo "desktop-file-validate not installed: desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.clipnab.Clipnab.metainfo.xml"
else
    echo "appstreamcli not installed: metadata not validated"
fi

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/clipnab" --version |
    grep -qx 'clipnab 2.0' || { echo "the installed program does not answer --version"; exit 1; }
echo "install layout, desktop entry and metadata: good"
