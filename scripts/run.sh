#!/bin/sh
# Starts KORVAL.EXE under Wine as a user meets it: from the CD-ROM drive E:,
# without a command line, as autorun starts it.
#   scripts/run.sh BUILD_DIR [MEDIUM_DIR]
# E: holds BUILD_DIR/medium: a copy of the demo medium (examples/medium) with
# the stand-in companion programs in its program folder, or MEDIUM_DIR's files
# (linked, not copied), each with this build's KORVAL.EXE and an AUTORUN.INF.
# With $DISPLAY it opens a real window and waits until it is closed; without
# one it runs on a virtual display (Xvfb, on the first free display number
# from :90 on), saves a screenshot beside BUILD_DIR (build/korval.png) and
# closes the program again.
# KORVAL_DPI=144 (or 120, 192, ...) shows it as on a high-DPI screen: the
# prefix's display DPI is set to it (and back to 96 by a run without it), the
# virtual display grows by the same factor and the screenshot is
# build/korval-144dpi.png.
# KORVAL_KEYS="Down ctrl+F3" has xdotool press those keys in KORVAL once it
# shows, before the screenshot (which KORVAL_SHOT names instead); its window
# has the focus, as the only one on the display.
# Ctrl-C (INT), TERM and HUP end KORVAL and everything else in the run's
# prefix and the virtual display, and then this script by the same signal.
set -eu
build=$(cd "$1" && pwd)
source=${2:-}
top=$(cd "$(dirname "$0")/.." && pwd)
shot="$(dirname "$build")/korval.png"
dpi=${KORVAL_DPI:-96}
case "$dpi" in
    ''|*[!0-9]*) echo "KORVAL_DPI is not a number: $dpi" >&2; exit 2 ;;
esac
if [ "$dpi" -lt 72 ] || [ "$dpi" -gt 480 ]; then
    echo "KORVAL_DPI out of range (72 to 480): $dpi" >&2
    exit 2
fi
if [ "$dpi" -ne 96 ]; then
    shot="$(dirname "$build")/korval-${dpi}dpi.png"
fi
shot=${KORVAL_SHOT:-$shot}
. "$top/scripts/medium-lib.sh"

if [ -n "$source" ] && [ ! -d "$source" ]; then
    echo "no such medium folder: $source" >&2
    exit 2
fi
stage_medium "$top" "$build" "$source" "$build/medium"

export WINEPREFIX="$build/runprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='

# The virtual display goes at the end; INT, TERM and HUP also end what this
# run started in its prefix, and then the script by the signal.
xvfb=""
stop_xvfb() {
    [ -n "$xvfb" ] || return 0
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=""
}
end_run() {
    echo "$1: ending KORVAL and the prefix's processes${xvfb:+ and the virtual display}" >&2
    end_prefix "$WINEPREFIX"
    stop_xvfb
}
at_end stop_xvfb end_run

# start_xvfb SIZE: a virtual display on the first display number from :90 on
# that no server holds (neither its socket nor its lock file exists); it is
# ours once its lock file names it and it answers. A server that is quicker
# to the same number makes ours give up, and the next number is tried.
start_xvfb() {
    n=90
    while [ "$n" -lt 300 ]; do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 "$1" -nolisten tcp >/dev/null 2>&1 &
            xvfb=$!
            if wait_until 120 xvfb_settled "$n" && xvfb_answers "$n"; then
                display=":$n"
                return 0
            fi
            stop_xvfb
        fi
        n=$((n + 1))
    done
    return 1
}
# Whether our Xvfb holds display N and answers on it; whether it did or ended.
xvfb_answers() {
    [ "$({ tr -d ' \n' <"/tmp/.X$1-lock"; } 2>/dev/null)" = "$xvfb" ] && xwininfo -display ":$1" -root >/dev/null 2>&1
}
xvfb_settled() { ! kill -0 "$xvfb" 2>/dev/null || xvfb_answers "$1"; }

headless=""
if [ -z "${DISPLAY:-}" ]; then
    headless=yes
    size="$((1024 * dpi / 96))x$((768 * dpi / 96))"
    start_xvfb "${size}x24" || { echo "no free display number for Xvfb" >&2; exit 1; }
    export DISPLAY="$display"
    echo "Virtual display $DISPLAY (Xvfb, $size)"
fi

# Wine draws the window frames itself, so they show even without a window manager.
make_prefix reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
cdrom_drive e "$build/medium"

# Wine takes the display's DPI from here when a program starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || true

# The folder it starts in is the medium's root, as autorun's.
start_korval() { wine start /d 'E:\' /wait 'E:\KORVAL.EXE'; }

echo 'E:\KORVAL.EXE (CD-ROM drive E: = '"$build/medium"')'
# In the background, so that a signal's trap runs at once: a script waits
# for a command in the foreground to end before it runs a trap.
start_korval &
korval=$!
if [ -z "$headless" ]; then
    code=0
    wait "$korval" || code=$?
    exit "$code"
fi

# Until its window shows or it ends; a first start in a new prefix on a busy
# machine can take minutes. Once seen, the window counts as shown: a second
# look may fail while windows come and go.
shown=""
korval_shows() { xwininfo -root -tree 2>/dev/null | grep -q 'Vantry Demo Datenbank' && shown=yes; }
korval_ended() { ! kill -0 "$korval" 2>/dev/null; }
korval_settled() { korval_shows || korval_ended; }
wait_until 600 korval_settled || true
if [ -z "$shown" ]; then
    if korval_ended; then
        code=0
        wait "$korval" || code=$?
        echo "KORVAL's window did not appear; wine start ended with $code" >&2
    else
        echo "KORVAL's window did not appear within 10 minutes" >&2
    fi
    end_prefix "$WINEPREFIX"
    exit 1
fi
# The pointer starts in the screen's middle, over the list, where resting it
# would show a row's preview: the screenshot shows the window at rest. (Moved
# before any program is connected, it would go back there: Xvfb starts
# afresh whenever its last client leaves.)
xdotool mousemove 0 0
sleep 2
if [ -n "${KORVAL_KEYS:-}" ]; then
    # shellcheck disable=SC2086 # one key name per word
    xdotool key --delay 300 $KORVAL_KEYS
    sleep 2
fi
import -window root "$shot"
echo "Screenshot: $shot"
wine taskkill /im KORVAL.EXE >/dev/null 2>&1 || true
if ! wait_until 120 korval_ended; then
    echo "KORVAL did not close; ending the prefix's processes" >&2
    end_prefix "$WINEPREFIX"
    exit 1
fi
code=0
wait "$korval" || code=$?
wineserver -w
echo "KORVAL ended with exit code $code"
exit "$code"
