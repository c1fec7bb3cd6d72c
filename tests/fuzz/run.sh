#!/bin/sh
# Runs every fuzzer of the fuzz build DIR for SECONDS each, one after the
# other, and prints executions and findings per fuzzer. Exits 1 on a finding.
# Usage: run.sh DIR [SECONDS]
dir=$1
seconds=${2:-60}
[ -d "$dir/options" ] || { echo "run.sh: no fuzz build in $dir" >&2; exit 2; }
mkdir -p "$dir/logs"
found=0
printf '%-16s %8s %14s %10s %8s  %s\n' fuzzer seconds executions "exec/s" corpus findings
for options in "$dir"/options/*; do
    name=$(basename "$options")
    before=$(ls "$dir/artifacts" | grep -c "^$name-" || true)
    # The options file holds a CMake list: semicolons between the options.
    "$dir/${name}_fuzzer" -max_total_time="$seconds" $(tr ';' ' ' < "$options") \
        "$dir/corpus/$name" "$dir/seeds/$name" > "$dir/logs/$name.log" 2>&1
    status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/logs/$name.log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/logs/$name.log" | tail -n 1)
    corpus=$(ls "$dir/corpus/$name" | wc -l)
    after=$(ls "$dir/artifacts" | grep -c "^$name-" || true)
    findings=$((after - before))
    if [ "$status" -ne 0 ] && [ "$findings" -eq 0 ]; then
        findings=1
    fi
    note=$findings
    if [ "$findings" -ne 0 ]; then
        found=1
        note="$findings (see $dir/logs/$name.log, $dir/artifacts/)"
    fi
    printf '%-16s %8s %14s %10s %8s  %s\n' "$name" "$seconds" "${executions:-?}" "${rate:-?}" "$corpus" "$note"
done
exit $found
