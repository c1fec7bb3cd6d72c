#!/bin/sh
# make bench: the native benchmarks and the measurements of KORVAL.EXE under
# Wine, printed as one table (markdown), the machine above it.
#   tools/bench/run.sh NATIVE_BENCH_BUILD WIN_BUILD [RUNS]
set -e
native=$1
win=$2
runs=${3:-15}
repetitions=5

cpu=$(lscpu | sed -n 's/^Model name: *//p' | head -n 1)
guest=$(lscpu | sed -n 's/^Hypervisor vendor: *//p' | head -n 1)
wine=$(wine --version 2>/dev/null || echo "Wine not found")
echo "Machine: $cpu, $(nproc) cores${guest:+ ($guest guest)}; $wine; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| Measure | Median | Runs |"
echo "|---|---:|---:|"

# The animations decoded: a 320 x 200 FLC that the art script writes (word
# deltas and a ring frame) and GIMP's 320 x 200 FLI (byte deltas).
root=$(cd "$(dirname "$0")/../.." && pwd)
KORVAL_BENCH_FLC="$native/bench-320x200.flc"
KORVAL_BENCH_FLI="$root/tests/fixtures/anim/gimp-320x200.fli"
python3 "$root/res/art/make_animations.py" --bench "$KORVAL_BENCH_FLC"
export KORVAL_BENCH_FLC KORVAL_BENCH_FLI

# Native: CPU time, the median of a few repetitions of many iterations each.
# (The library's notes on the machine go to stderr and are left out.)
"$native/tools/korval-bench" --benchmark_format=csv --benchmark_repetitions=$repetitions \
    --benchmark_report_aggregates_only=true >"$native/native-bench.csv" 2>/dev/null
awk -F, -v runs=$repetitions '
    $1 ~ /_median"?$/ {
        name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
        split("title author file date", order, " ")
        if (name == "LoadFromMemory") text = "Native: LoadCatalogueFrom, values held in memory"
        else if (name == "LoadFromFileText") text = "Native: catalogue text parsed and loaded"
        else if (name ~ /^RowKeys\/order:/) { n = substr(name, 15) + 1; text = "Native: RowKeyText, 200 rows by " order[n] }
        else if (name ~ /^Decode/) next
        else text = "Native: " name
        ns = $4; unit = $5
        if (unit == "us") ns *= 1000; else if (unit == "ms") ns *= 1000000
        if (ns >= 1000000) printf "| %-52s | %10.1f ms | %5d |\n", text, ns / 1000000, runs
        else if (ns >= 1000) printf "| %-52s | %10.1f us | %5d |\n", text, ns / 1000, runs
        else printf "| %-52s | %10.0f ns | %5d |\n", text, ns, runs
    }' "$native/native-bench.csv"

# Decoding in frames per second, ours and ffmpeg's FLIC decoder on the same
# files, CPU time both. ffmpeg loops the file (-stream_loop) into the null
# output; its start is taken out by a second run with one loop less than
# a hundred: frames and user time of the difference. The median of the
# repetitions.
ffmpeg_run() {   # ffmpeg_run FILE LOOPS: "FRAMES USER-SECONDS"
    ffmpeg -hide_banner -nostdin -benchmark -threads 1 -stream_loop "$2" -i "$1" -f null - 2>&1 | tr '\r' '\n' |
        awk '/^frame=/ { f = $0; sub(/^frame= */, "", f); sub(/ .*/, "", f) }
             /bench: utime=/ { u = $0; sub(/.*utime=/, "", u); sub(/s .*/, "", u) }
             END { print f, u }'
}
ffmpeg_fps() {   # ffmpeg_fps FILE LOOPS
    for i in $(seq $repetitions); do
        set -- "$1" "$2" $(ffmpeg_run "$1" "$2") $(ffmpeg_run "$1" 99)
        awk -v f1="$3" -v u1="$4" -v f0="$5" -v u0="$6" 'BEGIN { printf "%.0f\n", (f1 - f0) / (u1 - u0) }'
    done | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
# And libavcodec's FLIC decoder called directly, in one process with ours
# (korval-decode-compare: both over the file in memory, the same frames, the
# sides in turns, the fastest run of each).
compare="$native/tools/korval-decode-compare"
if [ -x "$compare" ]; then
    "$compare" "$KORVAL_BENCH_FLC" "$KORVAL_BENCH_FLI" >"$native/decode-compare.txt"
fi
if command -v ffmpeg >/dev/null; then
    for kind in FLC FLI; do
        if [ $kind = FLC ]; then file=$KORVAL_BENCH_FLC; what="art script, word deltas"; loops=1500
        else file=$KORVAL_BENCH_FLI; what="GIMP, byte deltas"; loops=5000; fi
        ours=$(awk -F, -v name="\"Decode${kind}_median\"" '$1 == name { printf "%.0f", $7 }' "$native/native-bench.csv")
        theirs=$(ffmpeg_fps "$file" $loops)
        printf '| %-52s | %10s f/s | %5d |\n' "Native: decode $kind 320x200 ($what)" "$ours" $repetitions
        printf '| %-52s | %10s f/s | %5d |\n' "ffmpeg's FLIC decoder, the same file" "$theirs" $repetitions
        awk -v a="$ours" -v b="$theirs" -v k=$kind 'BEGIN { printf "| %-52s | %12.2f | %5s |\n", "Decode " k ": ours / ffmpeg", a / b, "" }'
        [ -s "$native/decode-compare.txt" ] || continue
        awk -v file="$file" -v k=$kind '$1 == file {
            printf "| %-52s | %10s f/s | %5d |\n", "In one process: ours, " $2 " frames in turns", $3, $6
            printf "| %-52s | %10s f/s | %5d |\n", "In one process: libavcodec FLIC decoder", $4, $6
            printf "| %-52s | %12.2f | %5s |\n", "Decode " k ": libavcodec time / ours (fastest runs)", $5, ""
        }' "$native/decode-compare.txt"
    done
fi

# The whole conversion of the bench FLC to a GIF, as a user waits for it:
# korval-convert and ffmpeg's own GIF encoder (-f gif, one thread), each a
# whole process from start to the file written, wall-clock time, taken in
# turns; the medians of RUNS and their ratio, and the two files' sizes.
if command -v ffmpeg >/dev/null; then
    out="$native/bench-convert"
    mkdir -p "$out"
    elapsed_us() {   # elapsed_us COMMAND...: microseconds
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || { echo "run.sh: $1 failed" >&2; exit 1; }
        end=$(date +%s%N)
        echo $(((end - start) / 1000))
    }
    for i in $(seq "$runs"); do
        echo "ours $(elapsed_us "$native/tools/korval_convert/korval-convert" "$KORVAL_BENCH_FLC" "$out/ours.gif")"
        echo "ffmpeg $(elapsed_us ffmpeg -nostdin -v error -threads 1 -y -i "$KORVAL_BENCH_FLC" -f gif "$out/ffmpeg.gif")"
    done >"$out/times"
    median_ms() { awk -v k="$1" '$1 == k { print $2 }' "$out/times" | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'; }
    ours=$(median_ms ours)
    theirs=$(median_ms ffmpeg)
    printf '| %-52s | %10s ms | %5d |\n' "Native: korval-convert, bench FLC to GIF (process)" "$ours" "$runs"
    printf '| %-52s | %10s ms | %5d |\n' "ffmpeg -f gif, the same file (process)" "$theirs" "$runs"
    awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "| %-52s | %12.2f | %5s |\n", "Convert to GIF: ffmpeg time / ours (above 1: ours faster)", b / a, "" }'
    awk -v a="$(wc -c <"$out/ours.gif")" -v b="$(wc -c <"$out/ffmpeg.gif")" \
        'BEGIN { printf "| %-52s | %8d / %d B | %5s |\n", "GIF size: ours / ffmpeg", a, b, "" }'
fi

# The web page of the whole bench catalogue against its GIFs alone, and in
# headless Chromium (page_bench.sh).
"$root/tools/bench/page_bench.sh" "$native" "$KORVAL_BENCH_FLC"

# Under Wine: wall-clock time, the median of RUNS.
"$win/wine-run" "$win/tools/korval-bench.exe" "$runs"

# What korval-convert keeps, beside what gifsicle -O3 and optipng -o5 make
# of the same files: the bench FLC, the demo medium, the decoder's fixtures.
if command -v gifsicle >/dev/null && command -v optipng >/dev/null; then
    echo
    /usr/bin/python3 "$root/tools/bench/sizes.py" "$native/tools/korval_convert/korval-convert" "$native/bench-sizes" \
        "$KORVAL_BENCH_FLC" "$root/examples/medium/ANIM" "$root/tests/fixtures/anim"
fi
