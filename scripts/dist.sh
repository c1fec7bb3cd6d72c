#!/bin/sh
# Writes the release archive OUT_DIR/korval-VERSION-win64.zip: KORVAL.EXE,
# the guide for users (LIESMICH.TXT), the catalogue format for people who make
# a medium (KATALOG.TXT) and korval-check.exe, in a folder korval-VERSION.
#   scripts/dist.sh WIN_BUILD_DIR OUT_DIR
# The texts go in as Windows-1252 with CR LF line ends, as the program reads
# and writes text. The same commit gives the same archive: every date in it is
# the commit's.
set -eu
build=$(cd "$1" && pwd)
out=$2
top=$(cd "$(dirname "$0")/.." && pwd)
version=$(head -n 1 "$top/VERSION")
name=korval-$version
archive=$name-win64.zip

for file in "$build/KORVAL.EXE" "$build/tools/korval_check/korval-check.exe"; do
    [ -f "$file" ] || { echo "not built: $file" >&2; exit 1; }
done

mkdir -p "$out"
out=$(cd "$out" && pwd)
staging=$out/$name
rm -rf "$staging" "$out/$archive"
mkdir -p "$staging"
cp "$build/KORVAL.EXE" "$staging/KORVAL.EXE"
cp "$build/tools/korval_check/korval-check.exe" "$staging/korval-check.exe"
for text in LIESMICH.TXT KATALOG.TXT; do
    iconv -f UTF-8 -t WINDOWS-1252 "$top/docs/dist/$text" | sed 's/$/\r/' >"$staging/$text"
done

chmod 755 "$staging" "$staging/KORVAL.EXE" "$staging/korval-check.exe"
chmod 644 "$staging/LIESMICH.TXT" "$staging/KATALOG.TXT"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct 2>/dev/null || date +%s)}
touch -d "@$epoch" "$staging" "$staging"/*
# -X: no extra attributes (owner, Unix times); zip writes local time: UTC.
(cd "$out" && TZ=UTC zip -q -X "$archive" "$name" "$name/KORVAL.EXE" "$name/LIESMICH.TXT" \
                                          "$name/KATALOG.TXT" "$name/korval-check.exe")
rm -rf "$staging"
echo "Archive: $out/$archive"
unzip -l "$out/$archive"
