#!/bin/sh
# make bench, the page's figures (table rows in run.sh's form):
#   tools/bench/page_bench.sh NATIVE_BENCH_BUILD BENCH.FLC
set -e
native=$1
KORVAL_BENCH_FLC=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
[ -x /usr/bin/chromium ] || { echo "page_bench.sh: no /usr/bin/chromium, the page is not measured" >&2; exit 0; }

# The web page of the whole bench catalogue (korval-convert --web: 200 entries
# with real animations, the demo medium's and the bench file in turn) against
# converting the same animations to GIFs alone: whole processes, wall-clock,
# in turns, the medians of a few runs; the page's own bytes (index.html:
# HTML, style and script, no pictures) against their bound of 24 KB and 600
# bytes an entry; and its time in headless Chromium from the start of the load
# to the last poster drawn (the first screen's, and all 200 once asked for).
medium="$native/bench-medium"
rm -rf "$medium"
"$native/tools/korval-bench-medium" "$medium" $(find "$root/examples/medium/ANIM" -name '*.FLC' | sort) \
    "$KORVAL_BENCH_FLC" >/dev/null
convert_us() {   # convert_us ARGUMENTS...: microseconds; findings (exit code 1) are no failure
    start=$(date +%s%N)
    status=0
    "$native/tools/korval_convert/korval-convert" "$@" >/dev/null 2>&1 || status=$?
    [ $status -le 1 ] || { echo "page_bench.sh: korval-convert $* failed" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}
page_runs=5
for i in $(seq $page_runs); do
    rm -rf "$native/bench-gifs" "$native/bench-page"
    echo "gifs $(convert_us "$medium" "$native/bench-gifs")"
    echo "page $(convert_us --web "$medium" "$native/bench-page")"
done >"$native/page-times"
page_median() { awk -v k="$1" '$1 == k { print $2 }' "$native/page-times" | sort -n | awk '{ v[NR] = $1 } END { printf "%.0f", v[int((NR + 1) / 2)] / 1000 }'; }
gifs=$(page_median gifs)
page=$(page_median page)
printf '| %-52s | %10s ms | %5d |\n' "Native: korval-convert, 200 animations to GIFs" "$gifs" "$page_runs"
printf '| %-52s | %10s ms | %5d |\n' "Native: korval-convert --web, the same as a page" "$page" "$page_runs"
awk -v a="$page" -v b="$gifs" 'BEGIN { printf "| %-52s | %12.2f | %5s |\n", "Page / GIFs alone (time)", a / b, "" }'
gif_bytes=$(find "$native/bench-gifs" -type f -exec cat {} + | wc -c)
page_bytes=$(find "$native/bench-page" -type f -exec cat {} + | wc -c)
index_bytes=$(wc -c <"$native/bench-page/index.html")
awk -v a="$page_bytes" -v b="$gif_bytes" 'BEGIN { printf "| %-52s | %8d / %d B | %5s |\n", "Bytes: page with pictures / GIFs alone", a, b, "" }'
printf '| %-52s | %8d / %d B | %5s |\n' "index.html / its bound (24 KB + 600 B an entry)" "$index_bytes" $((24 * 1024 + 600 * 200)) ""
/usr/bin/python3 "$root/web/bench_page.py" "$native/bench-page/index.html" "$page_runs" | while read -r what ms count n; do
    if [ "$what" = first ]; then text="Chromium: load to the first screen's $count posters drawn"
    else text="Chromium: load to all $count posters decoded"; fi
    printf '| %-52s | %10s ms | %5d |\n' "$text" "$ms" "$n"
done
