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
        else text = "Native: " name
        ns = $4; unit = $5
        if (unit == "us") ns *= 1000; else if (unit == "ms") ns *= 1000000
        if (ns >= 1000000) printf "| %-52s | %10.1f ms | %5d |\n", text, ns / 1000000, runs
        else if (ns >= 1000) printf "| %-52s | %10.1f us | %5d |\n", text, ns / 1000, runs
        else printf "| %-52s | %10.0f ns | %5d |\n", text, ns, runs
    }' "$native/native-bench.csv"

# Under Wine: wall-clock time, the median of RUNS.
"$win/wine-run" "$win/tools/korval-bench.exe" "$runs"
