#!/bin/sh
# Writes the release archive OUT_DIR/korval-VERSION-win64.zip: KORVAL.EXE,
# the guide for users (LIESMICH.TXT), the catalogue format for people who make
# a medium (KATALOG.TXT), korval-check.exe and korval-convert.exe, in a folder
# korval-VERSION.
#   scripts/dist.sh WIN_BUILD_DIR OUT_DIR
# The texts go in as Windows-1252 with CR LF line ends, as the program reads
# and writes text. The same commit gives the same archive: every date in it is
# the commit's. A text that cannot be converted (a character that Windows-1252
# does not have) fails the script, and no archive is left.
set -eu
build=$(cd "$1" && pwd)
out=$2
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/medium-lib.sh"
version=$(head -n 1 "$top/VERSION")
name=korval-$version
archive=$name-win64.zip

for file in "$build/KORVAL.EXE" "$build/tools/korval_check/korval-check.exe" \
            "$build/tools/korval_convert/korval-convert.exe"; do
    [ -f "$file" ] || { echo "not built: $file" >&2; exit 1; }
done

mkdir -p "$out"
out=$(cd "$out" && pwd)
staging=$out/$name
rm -rf "$staging" "$out/$archive"
# The staging folder goes at the end, also on failure and on Ctrl-C; so does
# a half-written archive.
written=""
remove_staging() {
    rm -rf "$staging"
    [ -n "$written" ] || rm -f "$out/$archive"
}
at_end remove_staging
mkdir -p "$staging"
cp "$build/KORVAL.EXE" "$staging/KORVAL.EXE"
cp "$build/tools/korval_check/korval-check.exe" "$staging/korval-check.exe"
cp "$build/tools/korval_convert/korval-convert.exe" "$staging/korval-convert.exe"
# One step at a time, each checked: a pipe's status would be its last command's.
for text in LIESMICH.TXT KATALOG.TXT; do
    if ! iconv -f UTF-8 -t WINDOWS-1252 "$top/docs/dist/$text" >"$staging/$text.1252"; then
        echo "docs/dist/$text cannot be converted to Windows-1252: no archive" >&2
        exit 1
    fi
    sed 's/$/\r/' "$staging/$text.1252" >"$staging/$text"
    rm "$staging/$text.1252"
done

chmod 755 "$staging" "$staging/KORVAL.EXE" "$staging/korval-check.exe" "$staging/korval-convert.exe"
chmod 644 "$staging/LIESMICH.TXT" "$staging/KATALOG.TXT"
epoch=$(commit_time "$top")
touch -d "@$epoch" "$staging" "$staging"/*
# -X: no extra attributes (owner, Unix times); zip writes local time: UTC.
(cd "$out" && TZ=UTC zip -q -X "$archive" "$name" "$name/KORVAL.EXE" "$name/LIESMICH.TXT" \
                                          "$name/KATALOG.TXT" "$name/korval-check.exe" "$name/korval-convert.exe")
written=yes
echo "Archive: $out/$archive"
unzip -l "$out/$archive"
