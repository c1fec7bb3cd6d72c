#!/bin/sh
# korval-check on a catalogue whose animation is a named pipe without a
# writer: it names the pipe and ends, natively and, built for Windows, under
# Wine. Opening such a pipe for reading would wait for ever.
#   pipe_test.sh FOLDER [RUNNER] PROGRAM
set -u
folder=$1
shift
rm -rf "$folder"
mkdir -p "$folder/ANIM"
printf '[Authors]\r\nAuthor1=Anna Adler\r\n[Keywords]\r\nKeyword1=Sport\r\n[Animations]\r\n%s\r\n[Settings]\r\nBasePath=ANIM\r\n' \
    'Animation1=0;1;Rohr;ROHR.FLC;12.03.1996;1;1' >"$folder/KORVAL.INI"
mkfifo "$folder/ANIM/ROHR.FLC"
argument=$folder
case $1 in
*wine-run) argument=Z:$(printf '%s' "$folder" | tr / '\\') ;;
esac
output=$(timeout 60 "$@" "$argument" | tr -d '\r')
code=$?
rm -rf "$folder"
printf '%s\n' "$output"
# The exit code of the pipeline is tr's: the finding's line tells the rest.
[ $code = 0 ] || { echo "FAILED: the output could not be read"; exit 1; }
printf '%s\n' "$output" | grep -q 'Animation1: not a regular file (a [a-z ]*): .*ROHR\.FLC$' ||
    { echo "FAILED: no finding for the named pipe (or the check waited on it)"; exit 1; }
