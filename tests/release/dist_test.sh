#!/bin/sh
# make dist's archive: named with the version in VERSION, holding this build's
# KORVAL.EXE, korval-check.exe and korval-convert.exe and the two texts in Windows-1252 with CR LF;
# written twice, the same bytes. From a source tree that is no git checkout,
# its dates are VERSION's; and a text that Windows-1252 cannot hold makes no
# archive and a failure, never a text cut short.
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
expected="korval-$version/ korval-$version/KATALOG.TXT korval-$version/KORVAL.EXE korval-$version/LIESMICH.TXT korval-$version/korval-check.exe korval-$version/korval-convert.exe "
[ "$names" = "$expected" ] || fail "the archive holds: $names"

unzip -p "$archive" "korval-$version/KORVAL.EXE" | cmp -s - "$win/KORVAL.EXE" || fail "KORVAL.EXE is not this build's"
unzip -p "$archive" "korval-$version/korval-check.exe" | cmp -s - "$win/tools/korval_check/korval-check.exe" \
    || fail "korval-check.exe is not this build's"
unzip -p "$archive" "korval-$version/korval-convert.exe" | cmp -s - "$win/tools/korval_convert/korval-convert.exe" \
    || fail "korval-convert.exe is not this build's"
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

# A copy of the tree's release files, no git checkout of its own.
copy_tree() {
    rm -rf "$1"
    mkdir -p "$1/scripts" "$1/docs/dist"
    cp "$top/scripts/dist.sh" "$top/scripts/medium-lib.sh" "$1/scripts/"
    cp "$top/docs/dist/LIESMICH.TXT" "$top/docs/dist/KATALOG.TXT" "$1/docs/dist/"
    cp "$top/VERSION" "$1/VERSION"
}
(
    unset SOURCE_DATE_EPOCH
    copy_tree "$work/tree"
    touch -d @1000000000 "$work/tree/VERSION"
    "$work/tree/scripts/dist.sh" "$win" "$work/tree-out" >/dev/null 2>&1
) || fail "scripts/dist.sh from a copy of the tree"
# 1000000000 is 2001-09-09 01:46:40 UTC.
dates=$(zipinfo -T "$work/tree-out/korval-$version-win64.zip" 2>/dev/null | awk '$1 ~ /^[-d][-r]/ { print $7 }' | sort -u)
[ "$dates" = "20010909.014640" ] || fail "outside a git checkout, the archive is dated $dates, not as VERSION"

# A character outside Windows-1252 in the middle of KATALOG.TXT (U+0151).
copy_tree "$work/bad"
{
    head -n 5 "$top/docs/dist/KATALOG.TXT"
    printf 'Gr\303\274\303\237e an Szab\303\263 Istv\303\241n und Erd\305\221s\n'
    tail -n +6 "$top/docs/dist/KATALOG.TXT"
} >"$work/bad/docs/dist/KATALOG.TXT"
# An archive of an earlier run is there: it must not pass for this run's.
mkdir -p "$work/bad-out"
cp "$archive" "$work/bad-out/"
status=0
"$work/bad/scripts/dist.sh" "$win" "$work/bad-out" >"$work/bad.log" 2>&1 || status=$?
[ "$status" != 0 ] || fail "a text with a character outside Windows-1252 gave exit 0"
grep -q 'KATALOG.TXT' "$work/bad.log" || fail "the failure does not name KATALOG.TXT: $(cat "$work/bad.log")"
leftover=$(cd "$work/bad-out" && ls -A)
[ -z "$leftover" ] || fail "a failed conversion left: $leftover"

[ "$failures" -eq 0 ] && echo "the release archive holds what it should" && exit 0
exit 1
