#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset: clang with libFuzzer, AddressSanitizer and UBSan)
# and runs each for the given number of seconds (default 60). A finding stops its target, is
# saved under build/fuzz/findings/ and makes this script fail; copy it into
# tests/fuzz/corpus/<target>/ so that the ordinary tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

runs=build/fuzz/runs
findings=build/fuzz/findings
mkdir -p "$findings"
status=0
for target in registry profile rtf; do
    work="$runs/$target"
    mkdir -p "$work"
    seeds=(tests/fuzz/corpus/"$target")
    case "$target" in
    registry) seeds+=(tests/fixtures/wine-prefix data/machine/system.reg data/machine/user.reg
                      data/machine/userdef.reg) ;;
    rtf) seeds+=(data/program/data/Txt) ;;
    esac
    # Seeds are read from their own places; only what the fuzzer finds new goes to $work.
    for seed in "${seeds[@]}"; do
        if [ -f "$seed" ]; then cp "$seed" "$work/"; fi
    done
    dirs=()
    for seed in "${seeds[@]}"; do
        if [ -d "$seed" ]; then dirs+=("$seed"); fi
    done
    log="$runs/$target.log"
    echo "Fuzzing $target for ${seconds}s"
    if ASAN_OPTIONS=detect_leaks=1 "build/fuzz/tests/fuzz/${target}_fuzz" \
        -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "$work" "${dirs[@]}" >"$log" 2>&1; then
        echo "  $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs, no finding"
    else
        echo "  FINDING in $target (see $log and $findings/):"
        grep -E 'ERROR|property broken|SUMMARY|Test unit written' "$log" | sed 's/^/    /' || tail -20 "$log"
        status=1
    fi
done
exit $status
