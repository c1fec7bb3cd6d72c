#!/bin/sh
# Starts KORVAL.EXE under Wine on a catalogue folder.
#   scripts/run.sh BUILD_DIR [CATALOGUE_DIR]
# Without CATALOGUE_DIR it runs on a copy of the demo medium (examples/medium)
# in BUILD_DIR/medium, with the stand-in companion programs in its program
# folder. With $DISPLAY it opens a real window and waits until it is closed;
# without one it runs on a virtual display (Xvfb), saves a screenshot to
# build/korval.png and closes the program again.
# KORVAL_DPI=144 (or 120, 192, ...) shows it as on a high-DPI screen: the
# prefix's display DPI is set to it (and back to 96 by a run without it), the
# virtual display grows by the same factor and the screenshot is
# build/korval-144dpi.png.
set -eu
build=$(cd "$1" && pwd)
catalogue=${2:-}
top=$(cd "$(dirname "$0")/.." && pwd)
dpi=${KORVAL_DPI:-96}
case "$dpi" in
    ''|*[!0-9]*) echo "KORVAL_DPI is not a number: $dpi" >&2; exit 2 ;;
esac
if [ "$dpi" -lt 72 ] || [ "$dpi" -gt 480 ]; then
    echo "KORVAL_DPI out of range (72 to 480): $dpi" >&2
    exit 2
fi
shot="$top/build/korval.png"
if [ "$dpi" -ne 96 ]; then
    shot="$top/build/korval-${dpi}dpi.png"
fi

if [ -z "$catalogue" ]; then
    rm -rf "$build/medium"
    cp -r "$top/examples/medium" "$build/medium"
    for program in VANSHOW VANEDIT VANCOPY; do
        [ -f "$build/tools/$program.EXE" ] && cp "$build/tools/$program.EXE" "$build/medium/PROGRAMM/"
    done
    catalogue="$build/medium"
fi
[ -d "$catalogue" ] || { echo "no such catalogue folder: $catalogue" >&2; exit 2; }
catalogue=$(cd "$catalogue" && pwd)
# Wine's drive Z: is the Linux root: /a/b becomes Z:\a\b\ (the folder KORVAL expects).
folder="Z:$(printf '%s' "$catalogue" | tr '/' '\\')\\"

export WINEPREFIX="$build/runprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='

started_xvfb=""
if [ -z "${DISPLAY:-}" ]; then
    display=":$((90 + $$ % 100))"
    Xvfb "$display" -screen 0 "$((1024 * dpi / 96))x$((768 * dpi / 96))x24" -nolisten tcp >/dev/null 2>&1 &
    started_xvfb=$!
    export DISPLAY="$display"
    sleep 1
fi
cleanup() { [ -n "$started_xvfb" ] && kill "$started_xvfb" 2>/dev/null || true; }
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/.korval-ready" ]; then
    echo "Creating the Wine prefix $WINEPREFIX ..."
    wineboot -i >/dev/null 2>&1 || true
    # Wine draws the window frames itself, so they show even without a window manager.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
    # Wine's own fonts ("MS Sans Serif" among them) go where the prefix looks.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.korval-ready"
fi

# Wine takes the display's DPI from here when a program starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || true

printf 'KORVAL.EXE %s\n' "$folder"
if [ -z "$started_xvfb" ]; then
    wine "$build/KORVAL.EXE" "$folder"
    exit $?
fi

wine "$build/KORVAL.EXE" "$folder" &
korval=$!
shown=""
for _ in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q 'Vantry Demo Datenbank'; then shown=yes; break; fi
    kill -0 "$korval" 2>/dev/null || break
    sleep 0.2
done
if [ -z "$shown" ]; then
    echo "KORVAL's window did not appear" >&2
    wineserver -k || true
    exit 1
fi
sleep 2
import -window root "$shot"
echo "Screenshot: $shot"
wine taskkill /im KORVAL.EXE >/dev/null 2>&1 || true
code=""
for _ in $(seq 1 50); do
    if ! kill -0 "$korval" 2>/dev/null; then wait "$korval" && code=0 || code=$?; break; fi
    sleep 0.2
done
if [ -z "$code" ]; then
    echo "KORVAL did not close; ending the prefix's processes" >&2
    wineserver -k || true
    exit 1
fi
wineserver -w
echo "KORVAL ended with exit code $code"
exit "$code"
