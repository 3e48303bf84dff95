#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build from its seed corpus, up to JOBS at a time, each for its own
# time limit (limits.txt) or the default; prints each target's last lines and fails when one found a fault.
# usage: fuzz/run.sh BUILD_FOLDER DEFAULT_SECONDS JOBS
set -uo pipefail
build=$1 default=$2 jobs=$3
logs=$build/fuzz/logs
mkdir -p "$logs"
run_one() {
    local t=$1 name secs flags seeds=""
    name=$(basename "$t")
    secs=$(awk -v n="$name" '$1 == n {print $2}' "$build/fuzz/limits.txt")
    [ -n "$secs" ] && [ "$secs" != - ] || secs=$default
    flags=$(awk -v n="$name" '$1 == n {$1 = $2 = ""; print}' "$build/fuzz/limits.txt")
    mkdir -p "fuzz/corpus-run/$name"
    [ -d "fuzz/corpus/$name" ] && seeds=fuzz/corpus/$name
    # shellcheck disable=SC2086
    "$t" -max_total_time="$secs" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 $flags \
        "fuzz/corpus-run/$name" $seeds > "$logs/$name.log" 2>&1
}
declare -A pids
for t in "$build"/fuzz/fuzz_*; do
    [ -x "$t" ] && [ -f "$t" ] || continue
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    run_one "$t" &
    pids[$(basename "$t")]=$!
done
failed=0
for name in $(printf '%s\n' "${!pids[@]}" | sort); do
    if wait "${pids[$name]}"; then status=passed; else status=FAILED; failed=1; fi
    echo "== $name $status"
    tail -n 8 "$logs/$name.log"
done
exit $failed
