#!/bin/sh
# Installs the Debian packages the game needs to build, run and be tested,
# only those that are missing.
set -eu

PACKAGES="build-essential cmake pkg-config clang-format clang libclang-rt-14-dev
libsdl2-dev libgl-dev libgl1-mesa-dri libpng-dev zlib1g-dev
libogg-dev libvorbis-dev
libgtest-dev libbenchmark-dev
xvfb xauth xdotool x11-apps imagemagick sox
desktop-file-utils appstream man-db util-linux
dpkg-dev lintian file"

missing=""
for package in $PACKAGES; do
    if ! dpkg -s "$package" >/dev/null 2>&1; then
        missing="$missing $package"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
elif command -v sudo >/dev/null 2>&1; then
    sudo apt-get update
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
else
    echo "Please install the missing packages as root:" >&2
    echo "    apt-get install$missing" >&2
    exit 1
fi
