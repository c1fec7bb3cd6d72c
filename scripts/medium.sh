#!/bin/sh
# Writes an ISO 9660 image with Joliet names of a medium: a medium folder with
# this build's KORVAL.EXE and an AUTORUN.INF added.
#   scripts/medium.sh BUILD_DIR KORVAL_CHECK IMAGE [MEDIUM_DIR]
# Without MEDIUM_DIR it is the demo medium (examples/medium with the stand-in
# companion programs). korval-check runs on the catalogue first and its
# findings are shown; an unreadable catalogue (exit 2) makes no image.
# The image's volume name is KORVAL, or $LABEL.
set -eu
build=$(cd "$1" && pwd)
checker=$2
image=$3
source=${4:-}
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/medium-lib.sh"

if [ -n "$source" ] && [ ! -d "$source" ]; then
    echo "no such medium folder: $source" >&2
    exit 2
fi
catalogue=${source:-$top/examples/medium}
[ -x "$checker" ] || { echo "korval-check is not built: $checker" >&2; exit 1; }

echo "korval-check $catalogue"
status=0
"$checker" "$catalogue" || status=$?
case $status in
0) echo "korval-check: no findings" ;;
1) echo "korval-check: findings above; the image is made all the same" ;;
*) echo "korval-check: the catalogue cannot be read (exit $status): no image" >&2
   exit 2 ;;
esac

# The image is the same bytes for one commit, whenever and wherever it is
# made: every date in it is the commit's (the staged folders and copies are
# dated so, and SOURCE_DATE_EPOCH gives xorriso's volume dates, its "now" and
# its atimes and ctimes), and -r writes owner 0 and the same permissions for
# everyone, whatever the user and umask. The files of another medium folder
# keep their own dates: the image holds them, not the links to them.
epoch=$(commit_time "$top")
SOURCE_DATE_EPOCH=$epoch
export SOURCE_DATE_EPOCH

mkdir -p "$(dirname "$image")"
rm -f "$image"
# A staging folder of this run's own; it goes at the end, also on failure
# and on Ctrl-C, and so does a half-written image.
staging_root=$(mktemp -d "$build/medium-image.XXXXXX")
staging=$staging_root/medium
written=""
remove_staging() {
    rm -rf "$staging_root"
    [ -n "$written" ] || rm -f "$image"
}
at_end remove_staging
stage_medium "$top" "$build" "$source" "$staging"
find "$staging" -exec touch -h -d "@$epoch" {} +

# -f: the files of another medium folder are links in the staging folder.
if ! xorriso -as mkisofs -f -r -J -V "${LABEL:-KORVAL}" -o "$image" "$staging" >"$build/medium-image.log" 2>&1; then
    cat "$build/medium-image.log" >&2
    echo "xorriso could not write $image" >&2
    exit 1
fi
written=yes
echo "Image: $image ($(wc -c <"$image") bytes)"
xorriso -read_fs norock -indev "$image" -find / -type f 2>/dev/null | tr -d "'"
