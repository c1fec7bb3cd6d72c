#!/bin/sh
# make dist's archive: named with the version in VERSION, holding this build's
# KORVAL.EXE and korval-check.exe and the two texts in Windows-1252 with CR LF;
# written twice, the same bytes.
#   dist_test.sh SOURCE_DIR WIN_BUILD_DIR WORK_DIR
set -u
top=$1
win=$2
work=$3
failures=0
cr=$(printf '\r')
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

version=$(head -n 1 "$top/VERSION")
archive=$work/korval-$version-win64.zip
rm -rf "$work"
"$top/scripts/dist.sh" "$win" "$work" || { echo "FAILED: scripts/dist.sh"; exit 1; }
[ -f "$archive" ] || { echo "FAILED: no $archive"; exit 1; }

names=$(unzip -Z1 "$archive" | sort | tr '\n' ' ')
expected="korval-$version/ korval-$version/KATALOG.TXT korval-$version/KORVAL.EXE korval-$version/LIESMICH.TXT korval-$version/korval-check.exe "
[ "$names" = "$expected" ] || fail "the archive holds: $names"

unzip -p "$archive" "korval-$version/KORVAL.EXE" | cmp -s - "$win/KORVAL.EXE" || fail "KORVAL.EXE is not this build's"
unzip -p "$archive" "korval-$version/korval-check.exe" | cmp -s - "$win/tools/korval_check/korval-check.exe" \
    || fail "korval-check.exe is not this build's"
for text in LIESMICH.TXT KATALOG.TXT; do
    unzip -p "$archive" "korval-$version/$text" >"$work/$text"
    # Every line ends in CR LF, and the umlauts are single Windows-1252 bytes.
    [ "$(grep -c "$cr\$" "$work/$text")" = "$(wc -l <"$work/$text")" ] || fail "$text has lines without CR LF"
    iconv -f WINDOWS-1252 -t UTF-8 "$work/$text" | tr -d '\r' | cmp -s - "$top/docs/dist/$text" \
        || fail "$text is not docs/dist/$text in Windows-1252"
done
grep -q 'KORVAL\.INI' "$work/LIESMICH.TXT" || fail "LIESMICH.TXT does not say where KORVAL.INI goes"

cp "$archive" "$work/first.zip"
sleep 1
"$top/scripts/dist.sh" "$win" "$work" >/dev/null || fail "scripts/dist.sh, second time"
cmp -s "$work/first.zip" "$archive" || fail "a second archive of the same build differs"

[ "$failures" -eq 0 ] && echo "the release archive holds what it should" && exit 0
exit 1
