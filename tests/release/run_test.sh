#!/bin/sh
# make run's script stopped while KORVAL shows: INT (Ctrl-C), TERM and HUP end
# KORVAL, every other process of the run's prefix and the virtual display the
# run started, and then the script by the same signal. The virtual display
# takes a free number: one that a live server's lock file holds is passed
# over and its lock left alone. On a display of the user's, Ctrl-C ends KORVAL
# and the prefix's processes and leaves the display running.
#   run_test.sh SOURCE_DIR WIN_BUILD_DIR WORK_DIR
set -u
top=$1
win=$(cd "$2" && pwd)
mkdir -p "$3"
work=$(cd "$3" && pwd)
. "$top/scripts/medium-lib.sh"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# A build folder of the test's own, holding this build's programs: run.sh
# makes its prefix and its medium there and would put a screenshot beside it.
build=$work/win
prefix=$build/runprefix
mkdir -p "$build/tools"
ln -sfn "$win/KORVAL.EXE" "$build/KORVAL.EXE"
for program in VANSHOW VANEDIT VANCOPY; do
    ln -sfn "$win/tools/$program.EXE" "$build/tools/$program.EXE"
done

# The processes whose environment names the run's prefix: Wine's (the server,
# KORVAL, the prefix's services) and what the script started after setting it.
any_prefix_processes() {
    for dir in /proc/[0-9]*; do
        if { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix"; then
            printf '%s ' "${dir#/proc/}"
        fi
    done
}

blocker="" user_xvfb="" fake_lock=""
tidy() {
    [ -n "$blocker" ] && kill "$blocker" 2>/dev/null
    [ -n "$fake_lock" ] && rm -f "$fake_lock"
    [ -n "$user_xvfb" ] && kill "$user_xvfb" 2>/dev/null
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    true
}
trap tidy EXIT
trap 'exit 1' INT TERM HUP

# The lowest display number from :90 on that nothing holds gets a lock file
# of a live process, as a server that is starting up has.
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
sleep 600 &
blocker=$!
fake_lock=/tmp/.X$n-lock
printf '%10d\n' "$blocker" >"$fake_lock"
held=":$n"

# What run_and_stop waits for: the script's end, KORVAL's window on $display
# (the script's virtual display, once its log names it). Once seen, the
# window counts as shown: a second look may fail while windows come and go
# (xwininfo gives up on a window gone between listing and naming it).
script_ended() { ! kill -0 "$script" 2>/dev/null; }
window_shows() {
    [ -n "$display" ] || display=$(sed -n 's/^Virtual display \(:[0-9]*\) .*/\1/p' "$log")
    [ -n "$display" ] && xwininfo -display "$display" -root -tree 2>/dev/null | grep -q 'Vantry Demo Datenbank' &&
        shown=yes
}
shown_or_ended() { window_shows || script_ended; }

# run_and_stop SIGNAL EXIT_CODE [DISPLAY]: starts run.sh (on a virtual display
# of its own without DISPLAY), waits for KORVAL's window, sends SIGNAL and
# checks that the script ended by it and left nothing of its run behind.
run_and_stop() {
    signal=$1 expected=$2 user_display=${3:-}
    log=$work/run-$signal.log
    what=$signal
    if [ -n "$user_display" ]; then
        log=$work/run-$signal-own-display.log
        what="$signal on the user's display"
    fi
    before=$failures
    # A script started in the background has INT ignored, and a shell cannot
    # trap a signal ignored on entry: start it as a terminal would.
    if [ -n "$user_display" ]; then
        DISPLAY=$user_display env --default-signal=INT,TERM,HUP sh "$top/scripts/run.sh" "$build" >"$log" 2>&1 &
    else
        env -u DISPLAY -u WAYLAND_DISPLAY --default-signal=INT,TERM,HUP \
            sh "$top/scripts/run.sh" "$build" >"$log" 2>&1 &
    fi
    script=$!
    display=$user_display
    shown=""
    # Until the window shows or the script ends: a first start in a new
    # prefix on a busy machine can take minutes.
    wait_until 600 shown_or_ended || true
    if [ -z "$shown" ]; then
        cat "$log"
        fail "$signal: KORVAL's window did not appear on ${display:-a virtual display}"
        kill "$script" 2>/dev/null
        wait "$script"
        WINEPREFIX=$prefix wineserver -k 2>/dev/null
        return
    fi
    # Held still at once, wherever it is: a headless run takes its screenshot
    # and closes KORVAL two seconds after the window shows, and the checks
    # below take longer than that on a busy machine. The signal waits
    # for it to go on.
    kill -STOP "$script"
    server=""
    [ -n "$user_display" ] || server=$({ tr -d ' \n' <"/tmp/.X${display#:}-lock"; } 2>/dev/null)
    [ "$display" != "$held" ] || fail "$signal: the virtual display took $held, which a live server's lock holds"
    [ -n "$(any_prefix_processes)" ] || fail "$signal: no process of the run's prefix was found while KORVAL showed"

    kill -"$signal" "$script"
    kill -CONT "$script"
    if ! wait_until 300 script_ended; then
        fail "$signal: run.sh still runs 5 minutes after the signal"
        kill -KILL "$script" 2>/dev/null
        return
    fi
    wait "$script"
    code=$?
    [ "$code" = "$expected" ] || fail "$signal: run.sh ended with $code, not $expected (ended by the signal)"
    left=$(any_prefix_processes)
    if [ -n "$left" ]; then
        fail "$signal: processes of the run's prefix remain:"
        ps -o pid,args -p "${left% }" | sed 's/^/  /'
    fi
    if [ -z "$user_display" ]; then
        if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then fail "$signal: the virtual display $display still runs"; fi
        [ ! -e "/tmp/.X${display#:}-lock" ] && [ ! -e "/tmp/.X11-unix/X${display#:}" ] \
            || fail "$signal: the virtual display $display left its lock or socket"
    else
        kill -0 "$user_xvfb" 2>/dev/null || fail "$signal: the user's display was ended"
    fi
    if grep -q '^Screenshot' "$log"; then fail "$signal: run.sh went on to the screenshot"; fi
    if [ "$failures" = "$before" ]; then
        echo "$what: run.sh ended with $code; nothing of its run remains"
    else
        # What the run left is ended here, so that the next run starts clean.
        WINEPREFIX=$prefix wineserver -k 2>/dev/null
        [ -n "$left" ] && kill $left 2>/dev/null
    fi
}

run_and_stop INT 130
run_and_stop TERM 143
run_and_stop HUP 129
[ "$(cat "$fake_lock" 2>/dev/null)" = "$(printf '%10d' "$blocker")" ] || fail "the lock file of $held was changed"

# The user's own display: a server of the test's.
number_file=$work/display-number
rm -f "$number_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
user_xvfb=$!
# Until it writes its number or ends.
display_known() { [ -s "$number_file" ] || ! kill -0 "$user_xvfb" 2>/dev/null; }
if wait_until 120 display_known && [ -s "$number_file" ]; then
    run_and_stop INT 130 ":$(cat "$number_file")"
else
    fail "no display of the test's own"
fi

[ "$failures" -eq 0 ] && echo "run.sh ends everything it started on INT, TERM and HUP" && exit 0
exit 1
