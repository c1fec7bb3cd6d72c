# Shell functions for a medium folder and a CD-ROM drive under Wine, the
# date that release files carry, and the scripts' tidying at their end;
# sourced by scripts/run.sh, scripts/medium.sh, scripts/dist.sh and the
# release tests.

# at_end CLEANUP [ON_SIGNAL]: runs the function CLEANUP when the script ends.
# On INT, TERM or HUP it runs ON_SIGNAL (without one, CLEANUP) with the
# signal's name, further such signals ignored meanwhile, and then ends the
# script by that signal, as it would have ended without a trap. (dash runs
# no EXIT trap when a signal ends it.)
at_end() {
    trap "$1" EXIT
    for at_end_signal in INT TERM HUP; do
        trap "trap '' INT TERM HUP; ${2:-$1} $at_end_signal; trap - $at_end_signal EXIT; kill -$at_end_signal \$\$" \
            "$at_end_signal"
    done
}

# wait_until SECONDS COMMAND...: runs COMMAND every fifth of a second until
# it succeeds (0), or until SECONDS have passed by the clock (1). The deadline
# is only a safety net: a busy machine makes each try slower, and counting
# tries would give up the sooner the busier it is.
wait_until() {
    wait_until_end=$(($(date +%s) + $1))
    shift
    while ! "$@"; do
        [ "$(date +%s)" -lt "$wait_until_end" ] || return 1
        sleep 0.2
    done
}

# prefix_processes PREFIX: the ids of Wine's processes (the server and its
# clients) whose environment names the prefix PREFIX. One grep reads every
# process's environment (a process per probe is slow on a busy machine), in a
# shell without WINEPREFIX, so that it does not find itself.
prefix_processes() {
    env -u WINEPREFIX sh -c '
        for file in $(grep -lsxzF "WINEPREFIX=$1" /proc/[0-9]*/environ); do
            id=${file#/proc/}
            id=${id%/environ}
            case $(readlink "/proc/$id/exe" 2>/dev/null) in
                */wine*) printf "%s " "$id" ;;
            esac
        done' sh "$1"
}

# end_prefix PREFIX: ends every process of the prefix PREFIX and waits until
# they are gone (at most a minute, then they are killed).
end_prefix() {
    WINEPREFIX=$1 wineserver -k 2>/dev/null || true
    wait_until 60 prefix_ended "$1" && return 0
    # shellcheck disable=SC2046 # one id a word
    kill -KILL $(prefix_processes "$1") 2>/dev/null || true
}
prefix_ended() { [ -z "$(prefix_processes "$1")" ]; }

# commit_time TOP: the seconds since 1970 that the release files of the tree
# TOP are dated: $SOURCE_DATE_EPOCH when set, else the time of TOP's last
# commit, else (TOP is no git checkout of its own, as an unpacked source
# archive) the modification time of TOP/VERSION. Never the current time: one
# commit gives the same bytes whenever it is packed.
commit_time() {
    if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
        case $SOURCE_DATE_EPOCH in
            *[!0-9]*) echo "SOURCE_DATE_EPOCH is not a number: $SOURCE_DATE_EPOCH" >&2; return 1 ;;
        esac
        echo "$SOURCE_DATE_EPOCH"
        return 0
    fi
    # Only TOP's own repository: a source tree unpacked inside another
    # checkout must not take that one's commit.
    if [ "$(git -C "$1" rev-parse --show-toplevel 2>/dev/null)" = "$(cd "$1" && pwd -P)" ] &&
        git -C "$1" log -1 --format=%ct 2>/dev/null; then
        return 0
    fi
    stat -c %Y "$1/VERSION"
}

# stage_medium TOP BUILD_DIR SOURCE DEST
# Lays out in DEST what goes on a medium: SOURCE's files (empty SOURCE: the
# demo medium, examples/medium, with the stand-in companion programs of
# BUILD_DIR/tools in its program folder), this build's KORVAL.EXE in place of
# any that SOURCE has, and the demo medium's AUTORUN.INF when SOURCE has none.
# Another folder's files are linked, not copied: nothing is written into it.
stage_medium() {
    top=$1 build=$2 source=$3 dest=$4
    rm -rf "$dest"
    if [ -z "$source" ]; then
        cp -r "$top/examples/medium" "$dest"
        for program in VANSHOW VANEDIT VANCOPY; do
            [ -f "$build/tools/$program.EXE" ] && cp "$build/tools/$program.EXE" "$dest/PROGRAMM/"
        done
    else
        source=$(cd "$source" && pwd)
        cp -rs "$source" "$dest"
    fi
    find "$dest" -maxdepth 1 -iname KORVAL.EXE -exec rm -f {} +
    cp "$build/KORVAL.EXE" "$dest/KORVAL.EXE"
    if [ -z "$(find "$dest" -maxdepth 1 -iname AUTORUN.INF)" ]; then
        cp "$top/examples/medium/AUTORUN.INF" "$dest/AUTORUN.INF"
    fi
}

# cdrom_drive LETTER FOLDER: in $WINEPREFIX, drive LETTER: is FOLDER, and its
# type is CD-ROM (GetDriveTypeA answers DRIVE_CDROM for its root).
cdrom_drive() {
    letter=$1 folder=$2
    ln -sfn "$folder" "$WINEPREFIX/dosdevices/$letter:"
    if ! grep -qi "^\"$letter:\"=\"cdrom\"" "$WINEPREFIX/system.reg" 2>/dev/null; then
        wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d cdrom /f >/dev/null 2>&1
        wineserver -w
    fi
}

# make_prefix: makes $WINEPREFIX once, with Wine's fonts where it looks for
# them; any further argument is run (with wine) as a last step of the set-up.
make_prefix() {
    [ -f "$WINEPREFIX/.korval-ready" ] && [ -f "$WINEPREFIX/system.reg" ] && return 0
    echo "Creating the Wine prefix $WINEPREFIX ..."
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    [ $# -gt 0 ] && { wine "$@" >/dev/null 2>&1 || true; }
    wineserver -w
    # Wine's own fonts ("MS Sans Serif" among them) go where the prefix looks.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.korval-ready"
}
