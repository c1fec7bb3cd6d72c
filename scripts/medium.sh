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

staging=$build/medium-image
stage_medium "$top" "$build" "$source" "$staging"

# The demo medium's image is the same bytes for one commit: its dates are the commit's.
if [ -z "$source" ] && [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct 2>/dev/null || true)
    [ -n "$SOURCE_DATE_EPOCH" ] && export SOURCE_DATE_EPOCH
fi

mkdir -p "$(dirname "$image")"
rm -f "$image"
# -f: the files of another medium folder are links in the staging folder.
if ! xorriso -as mkisofs -f -J -V "${LABEL:-KORVAL}" -o "$image" "$staging" >"$build/medium-image.log" 2>&1; then
    cat "$build/medium-image.log" >&2
    echo "xorriso could not write $image" >&2
    exit 1
fi
echo "Image: $image ($(wc -c <"$image") bytes)"
xorriso -read_fs norock -indev "$image" -find / -type f 2>/dev/null | tr -d "'"
