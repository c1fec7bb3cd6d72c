#!/bin/sh
# korval-check --draft as its user meets it, natively and, built for Windows,
# under Wine: the draft alone on standard output, in CR LF lines, which the
# checker then finds clean; what is left out on standard error; the exit codes.
#   draft_test.sh FOLDER DEMO-ANIMATIONS [RUNNER] PROGRAM
set -u
folder=$1
demo=$2
shift 2
rm -rf "$folder"
mkdir -p "$folder/saved" "$folder/mixed/SUB" "$folder/empty"
cp "$demo/BALL.FLC" "$folder/mixed/SUB/BALL.FLC"
printf 'no animation' >"$folder/mixed/KEIN.FLC"
# The program's view of a folder: under Wine a Z: path with backslashes.
name() {
    case $1 in
    *wine-run) printf 'Z:%s' "$2" | tr / '\\' ;;
    *) printf '%s' "$2" ;;
    esac
}
fail() { echo "FAILED: $*"; rm -rf "$folder"; exit 1; }

"$@" --draft "$(name "$1" "$demo")" >"$folder/saved/KORVAL.INI" 2>"$folder/err" || fail "the demo's draft: exit $?"
[ -s "$folder/err" ] && fail "the demo's draft: $(cat "$folder/err")"
grep -q "^BasePath=.*ANIM\\\\$(printf '\r')\$" "$folder/saved/KORVAL.INI" || fail "no BasePath of the folder itself"
[ "$(grep -c '^Animation[0-9]*=' "$folder/saved/KORVAL.INI")" = 14 ] || fail "not 14 entries"
# Every line ends in CR LF: no LF without its CR, no CR twice.
[ "$(tr -cd '\n' <"$folder/saved/KORVAL.INI" | wc -c)" = "$(tr -cd '\r' <"$folder/saved/KORVAL.INI" | wc -c)" ] ||
    fail "lines do not all end in CR LF"
grep -q "$(printf '\r\r')" "$folder/saved/KORVAL.INI" && fail "a line ends in CR CR LF"
"$@" "$(name "$1" "$folder/saved")" >"$folder/out" || fail "the checker found: $(cat "$folder/out")"

"$@" --draft "$(name "$1" "$demo")" --author "Anna Adler" >"$folder/out" || fail "--author: exit $?"
grep -q "^Author1=Anna Adler$(printf '\r')\$" "$folder/out" || fail "--author: no Author1=Anna Adler"

"$@" --draft "$(name "$1" "$folder/mixed")" >"$folder/out" 2>"$folder/err"
code=$?
[ $code = 1 ] || fail "a file left out: exit $code"
grep -q 'KEIN\.FLC: left out: not an FLC or FLI file' "$folder/err" || fail "KEIN.FLC not named: $(cat "$folder/err")"
grep -q '^Animation1=0;1;BALL;SUB\\BALL\.FLC;' "$folder/out" || fail "no draft beside the finding"

"$@" --draft "$(name "$1" "$folder/empty")" >"$folder/out" 2>/dev/null
code=$?
[ $code = 2 ] || fail "an empty folder: exit $code"
[ -s "$folder/out" ] && fail "an empty folder gave a draft"
"$@" --draft >/dev/null 2>&1
code=$?
[ $code = 2 ] || fail "no folder: exit $code"
rm -rf "$folder"
echo "passed"
