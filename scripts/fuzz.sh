#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each for a given time:
#   scripts/fuzz.sh TARGET...|all [-t SECONDS] [-j JOBS]
# (default 600 seconds per target, one target at a time). Targets: big csf replay ini registry zip
# shellmap_catalogue language. Each run starts from the corpus kept in build-fuzz/corpus/<target>/,
# the seeds our own writers make, the real game files of ../shared/fixtures/real/ when present and
# the regression files of tests/fuzz/regressions/<target>/. An input that fails lands in
# build-fuzz/crashes/<target>/: make it small with
#   build-fuzz/fuzz/fuzz_<target> -minimize_crash=1 -runs=10000 FILE
# and add it to tests/fuzz/regressions/<target>/, which the normal test suite replays.
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(big csf replay ini registry zip shellmap_catalogue)
[[ -f i18n/language_file.h ]] && all_targets+=(language)
usage="usage: scripts/fuzz.sh TARGET...|all [-t SECONDS] [-j JOBS]; targets: ${all_targets[*]}"
seconds=600
jobs=1
targets=()
while (($#)); do
    case $1 in
    -t) seconds=$2; shift 2 ;;
    -j) jobs=$2; shift 2 ;;
    all) targets+=("${all_targets[@]}"); shift ;;
    *)
        if [[ " ${all_targets[*]} " != *" $1 "* ]]; then
            echo "$usage" >&2
            exit 2
        fi
        targets+=("$1")
        shift
        ;;
    esac
done
if ((${#targets[@]} == 0)); then
    echo "$usage" >&2
    exit 2
fi

scripts/setup.sh
build=build-fuzz
# Warnings are errors in the gcc build; clang's extra ones must not stop a fuzzing run.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DMARVOK_FUZZ=ON -DMARVOK_BUILD_BENCH=OFF -DMARVOK_WERROR=OFF >/dev/null
nice cmake --build "$build" --target fuzz_seeds "${targets[@]/#/fuzz_}"

seeds=$build/seeds
rm -rf "$seeds"
"$build/fuzz/fuzz_seeds" "$seeds"
real=../shared/fixtures/real
if [[ -d $real ]]; then
    cp "$real"/*.big "$seeds/big/"
    cp "$real"/*.csf "$seeds/csf/"
    cp "$real"/*.rep "$seeds/replay/"
fi

# The targets write and replace files for every input: in memory that costs no disk syncs.
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp

run_target() {
    local name=$1
    local corpus=$build/corpus/$name crashes=$build/crashes/$name regressions=tests/fuzz/regressions/$name
    local log=$build/logs/$name.log
    mkdir -p "$corpus" "$crashes" "$regressions" "$build/logs"
    if nice "$build/fuzz/fuzz_$name" "$corpus" "$seeds/$name" "$regressions" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$crashes/" -print_final_stats=1 >"$log" 2>&1; then
        echo "fuzz_$name: $(grep -oP 'stat::number_of_executed_units:\s*\K\d+' "$log") runs in $seconds s, no failure"
    else
        echo "fuzz_$name FAILED (log: $log, input in $crashes/):"
        grep -E 'ERROR|fuzz property failed|SUMMARY' "$log" | head -5 || true
        return 1
    fi
}

echo "Fuzzing ${targets[*]} for $seconds s each, $jobs at a time (logs in $build/logs/)"
status=0
running=0
for name in "${targets[@]}"; do
    if ((running >= jobs)); then
        wait -n || status=1
        ((running--))
    fi
    run_target "$name" &
    ((++running))
done
while ((running > 0)); do
    wait -n || status=1
    ((running--))
done
exit $status
