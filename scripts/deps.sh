#!/bin/sh
# Installs what building, running and testing KORVAL needs on Debian 12,
# with one apt-get update, and only when something is missing.
set -e
packages="make cmake g++ g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine wine64 fonts-wine
googletest xvfb imagemagick x11-utils clang libclang-rt-14-dev libbenchmark-dev
xorriso zip unzip ffmpeg python3-pil xdotool libavcodec-dev libavformat-dev pkg-config
zlib1g-dev libz-mingw-w64-dev gifsicle optipng chromium chromium-driver python3-selenium"

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
