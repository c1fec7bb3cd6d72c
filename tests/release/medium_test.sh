#!/bin/sh
# make medium's image of the demo medium: its files under their Joliet and
# ISO 9660 names, and KORVAL.EXE started from a CD-ROM drive that holds the
# image's extracted files, without a command line, as autorun starts it. The
# same commit gives the same image, made again seconds later from another
# staging folder, with another umask and time zone; its files carry the
# commit's date. And a folder whose catalogue cannot be read makes no image.
#   medium_test.sh SOURCE_DIR WIN_BUILD_DIR KORVAL_CHECK WORK_DIR
set -u
top=$1
win=$(cd "$2" && pwd)
checker=$3
mkdir -p "$4"
work=$(cd "$4" && pwd)
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
. "$top/scripts/medium-lib.sh"

[ -d "$work/extracted" ] && chmod -R u+w "$work/extracted"
rm -rf "$work/image.iso" "$work/again" "$work/extracted" "$work/expected" "$work/unreadable"

# The image.
if ! "$top/scripts/medium.sh" "$win" "$checker" "$work/image.iso" >"$work/medium.log" 2>&1; then
    cat "$work/medium.log"
    echo "FAILED: scripts/medium.sh"
    exit 1
fi
grep -q "Animation12: rejected: only 5 fields" "$work/medium.log" || fail "korval-check's findings were not shown"

# Its files: the demo medium's, KORVAL.EXE and the stand-in programs.
{
    (cd "$top/examples/medium" && find . -type f | sed 's|^\.||')
    printf '%s\n' /KORVAL.EXE /PROGRAMM/VANSHOW.EXE /PROGRAMM/VANEDIT.EXE /PROGRAMM/VANCOPY.EXE
} | sort -u >"$work/expected"
for tree in norock ecma119; do
    xorriso -read_fs "$tree" -indev "$work/image.iso" -find / -type f 2>/dev/null | tr -d "'" | sort >"$work/listed-$tree"
    if ! cmp -s "$work/expected" "$work/listed-$tree"; then
        fail "the image's files ($tree) are not the medium's:"
        diff "$work/expected" "$work/listed-$tree"
    fi
done
echo "The image's files:"
cat "$work/listed-norock"

# The same bytes whenever and wherever it is made.
sleep 2
mkdir -p "$work/again"
if (umask 077 && cd "$work/again" && TZ=America/New_York "$top/scripts/medium.sh" "$win" "$checker" \
        "$work/again/image.iso") >"$work/again.log" 2>&1; then
    differing=$(cmp -l "$work/image.iso" "$work/again/image.iso" 2>&1 | wc -l)
    [ "$differing" = 0 ] || fail "a second image of the same commit differs in $differing bytes"
else
    cat "$work/again.log"
    fail "scripts/medium.sh, second time"
fi

xorriso -osirrox on -read_fs norock -indev "$work/image.iso" -extract / "$work/extracted" >/dev/null 2>&1 \
    || fail "the image could not be extracted"
cmp -s "$win/KORVAL.EXE" "$work/extracted/KORVAL.EXE" || fail "the image's KORVAL.EXE is not this build's"
epoch=$(commit_time "$top")
for file in KORVAL.EXE AUTORUN.INF ANIM/JONGLEUR.FLC PROGRAMM/VANSHOW.EXE ANIM; do
    date=$(stat -c %Y "$work/extracted/$file")
    [ "$date" = "$epoch" ] || fail "$file in the image is dated $date, not the commit's $epoch"
done
for line in open=KORVAL.EXE icon=KORVAL.EXE; do
    tr -d '\r' <"$work/extracted/AUTORUN.INF" | grep -qx "$line" || fail "AUTORUN.INF has no line $line"
done

# KORVAL from the CD-ROM drive E: in a headless prefix of its own.
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY LANGUAGE
make_prefix reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
cdrom_drive e "$work/extracted"

log=$work/started.txt
rm -f "$log"
VANTRY_STANDIN_LOG=$(printf 'Z:%s' "$log" | tr '/' '\\')
export VANTRY_STANDIN_LOG
wine start /d 'E:\' /wait 'E:\KORVAL.EXE' &
korval=$!
# The demo medium's first row is selected at the start, its path on E: in the
# status bar; Play starts the player on it.
wine "$win/tools/korval-probe.exe" wait rows 14 status 'Animation: 1 von 14 E:\ANIM\JONGLEUR.FLC' command 502 \
    || fail "KORVAL on E: did not show the demo medium"
player_started() { grep -q VANSHOW "$log" 2>/dev/null; }
wait_until 300 player_started || true
started=$(cut -f1 "$log" 2>/dev/null | tr -d '\r')
[ "$started" = 'E:\PROGRAMM\VANSHOW.EXE E:\ANIM\JONGLEUR.FLC' ] \
    || fail "Play started \"$started\", not the player on E: with E:\\ANIM\\JONGLEUR.FLC"
wine "$win/tools/korval-probe.exe" close >/dev/null || fail "KORVAL could not be closed"
korval_ended() { ! kill -0 "$korval" 2>/dev/null; }
code=""
if wait_until 300 korval_ended; then wait "$korval" && code=0 || code=$?; fi
[ "$code" = 0 ] || { fail "KORVAL did not end with 0 (${code:-still running})"; wineserver -k; }
wineserver -w

# A folder without a catalogue: korval-check says unreadable, and no image is made.
mkdir -p "$work/unreadable/ANIM"
status=0
"$top/scripts/medium.sh" "$win" "$checker" "$work/unreadable.iso" "$work/unreadable" >"$work/unreadable.log" 2>&1 \
    || status=$?
[ "$status" = 2 ] || fail "an unreadable catalogue gave exit $status, not 2"
[ ! -e "$work/unreadable.iso" ] || fail "an unreadable catalogue made an image"

[ "$failures" -eq 0 ] && echo "the medium holds what it should and KORVAL starts from it" && exit 0
exit 1
