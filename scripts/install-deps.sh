#!/bin/sh
# Installs the Debian packages the project needs; does nothing when all are present.
# --fuzz adds clang with libFuzzer and the sanitizer runtimes, for `make fuzz` only;
# --format adds clang-format, for `make format-check` only.
# --package adds what CPack needs to compute a Debian package's dependencies, for `make package`.
set -eu

PACKAGES="cmake ninja-build g++ pkg-config
qt6-base-dev libqt6sql6-sqlite qt6-webengine-dev qt6-httpserver-dev qt6-websockets-dev
libgl-dev libbenchmark-dev fonts-dejavu-core xvfb xauth curl dbus
desktop-file-utils appstream"
case "${1:-}" in
--fuzz) PACKAGES="$PACKAGES clang-14 libclang-rt-14-dev llvm-14" ;;
--format) PACKAGES="$PACKAGES clang-format-14" ;;
--package) PACKAGES="$PACKAGES dpkg-dev file" ;;
esac

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
