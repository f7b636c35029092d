#!/usr/bin/env bash
# Runs each libFuzzer target of a fuzz build for a set time, one after another, starting from
# the repository's corpus; fails when any target finds something.
#   scripts/fuzz.sh BUILD_DIR SECONDS TARGET...
# New inputs go to BUILD_DIR/fuzz-work/TARGET, findings to BUILD_DIR/fuzz-findings/ (copy a
# reproducer into fuzz/corpus/TARGET/ once its fault is fixed); each target's log is in
# BUILD_DIR/fuzz-logs/TARGET.log.
set -uo pipefail
build=$1
seconds=$2
shift 2
cd "$(dirname "$0")/.."
mkdir -p "$build/fuzz-findings" "$build/fuzz-logs"
failed=()
for target in "$@"; do
    work="$build/fuzz-work/$target"
    mkdir -p "$work"
    log="$build/fuzz-logs/$target.log"
    echo "fuzz_$target: ${seconds} s"
    # A single input that takes over 10 s or 2 GB is a finding too.
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$target-" \
        "$work" "fuzz/corpus/$target" > "$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    echo "fuzz_$target: exit $status, ${runs:-?} executions (${per_second:-?}/s), log $log"
    if [ "$status" -ne 0 ]; then
        grep -m 5 -E "^(finding:|==[0-9]+==ERROR|SUMMARY|.*runtime error)" "$log" || tail -20 "$log"
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "findings in: ${failed[*]} (inputs in $build/fuzz-findings/)"
    exit 1
fi
echo "no findings"
