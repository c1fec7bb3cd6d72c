#!/bin/sh
# Makes docs/screenshot-highcontrast.png: KORVAL's main window as it looks
# with the high-contrast setting on. Wine 8 cannot switch the setting on, so
# the picture comes from the high-contrast test program
# (tests/wine/high_contrast_test): the real main window on the fixture
# catalogue K:\window\KORVAL.INI, with a black and yellow scheme set by
# SetSysColors and the system's answer to the setting's question given as
# "on". It runs on a virtual X display (xvfb-run) in a prefix of its own with
# Wine's X11 driver and copies the window from the screen; ImageMagick's
# convert makes the PNG.
#   scripts/highcontrast-shot.sh BUILD_DIR [PNG]
set -eu
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
png=${2:-$top/docs/screenshot-highcontrast.png}
. "$top/scripts/medium-lib.sh"

export WINEPREFIX="$build/shotprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
export LC_ALL=C.UTF-8
unset LANGUAGE
# Wine draws the window frames itself, so they show without a window manager.
make_prefix reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
ln -sfn "$top/tests/fixtures" "$WINEPREFIX/dosdevices/k:"
mkdir -p "$build/scratch"
ln -sfn "$build/scratch" "$WINEPREFIX/dosdevices/t:"
bmp="$build/scratch/highcontrast.bmp"
rm -f "$bmp"

KORVAL_HIGH_CONTRAST_SHOT='T:\highcontrast.bmp' xvfb-run -a -s '-screen 0 1024x768x24' \
    sh -c 'wine "$1" --gtest_filter=HighContrastWindow.*; wineserver -w' sh "$build/tests/high_contrast_test.exe"
[ -f "$bmp" ] || { echo "the test program saved no picture" >&2; exit 1; }
convert "$bmp" "$png"
echo "Screenshot: $png"
