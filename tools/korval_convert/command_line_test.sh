#!/bin/sh
# korval-convert's command line as a user meets it, natively and, built for
# Windows, under Wine: each mistake answered with its reason and exit code 2,
# --help with exit code 0, a replaced file said.
#   command_line_test.sh FOLDER ANIMATION.FLC [RUNNER] PROGRAM
set -u
folder=$1
animation=$2
shift 2
rm -rf "$folder"
mkdir -p "$folder/medium"
cp "$animation" "$folder/anim.flc"
echo "not an animation" >"$folder/notes.txt"
cd "$folder" || exit 1
failed=0
# expect EXIT TEXT ARGUMENT...: the exit code, and TEXT in what it printed.
expect() {
    code=$1
    text=$2
    shift 2
    output=$("$@" 2>&1 </dev/null)
    got=$?
    output=$(printf '%s\n' "$output" | tr -d '\r')
    if [ "$got" != "$code" ] || ! printf '%s\n' "$output" | grep -qF -- "$text"; then
        printf 'FAILED: %s\n  wanted exit %s and "%s", got exit %s:\n%s\n' "$*" "$code" "$text" "$got" "$output"
        failed=1
    fi
}
run="$*"
expect 2 "usage: korval-convert" $run
expect 0 "Exit code: 0 all converted" $run --help
expect 2 "korval-convert: OUT: unknown output type" $run notes.txt OUT
expect 2 "korval-convert: nirgends: no such file or folder" $run nirgends OUT
expect 2 "korval-convert: out.bmp: unknown output type" $run anim.flc out.bmp
expect 2 "korval-convert: --frame 0: the frame number is one from 1 to 65535" $run --frame 0 anim.flc x.png
expect 2 "korval-convert: --frame writes one frame: name the output .png" $run --frame 2 anim.flc x.gif
expect 2 "korval-convert: OUT.GIF: a catalogue's animations go into a folder" $run medium OUT.GIF
expect 2 "nirgends/x.gif: the folder nirgends does not exist" $run anim.flc nirgends/x.gif
expect 0 "anim.flc -> x.gif: 5 frames" $run anim.flc x.gif
expect 0 "anim.flc -> x.gif: 5 frames, replacing the file that was there" $run anim.flc x.gif
[ ! -e nirgends ] || { echo "FAILED: a folder was made for a mistyped output"; failed=1; }
cd / && rm -rf "$folder"
exit $failed
