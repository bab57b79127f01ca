#!/usr/bin/env bash
# Times bench_big writing, re-saving and extracting BIG archives against cat writing the same bytes,
# side by side in one run, for (a) 8 files of 1.5 GiB in all and (b) 20,000 files of 1 to 16 KiB.
# Extraction creates one file per entry, which cat cannot do in one run: it is set against cat once
# per file (set a only: 20,000 processes would measure process start-up), against cat writing the
# same bytes as one stream, and against cp -r creating the same files.
# Prints the median of RUNS runs of each and the ratio, and the peak memory of our tool (VmHWM, and
# /usr/bin/time's maximum resident size where that program is installed).
#
#   bench/big/compare_with_cat.sh [path/to/bench_big]     RUNS=3 TMPDIR=/tmp by default
#
# Needs about 6 GiB free in TMPDIR; everything is made in a temporary folder removed at the end.
set -euo pipefail
export LC_ALL=C

BENCH=$(realpath "${1:-build/bench/bench_big}")
RUNS=${RUNS:-3}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/big-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

source "$(dirname "${BASH_SOURCE[0]}")/../support/timing.sh"

# Our tool, under /usr/bin/time when there is one; keeps its last report line in $WORK/ours.out.
ours() {
    if [[ -n $TIME_PROGRAM ]]; then
        "$TIME_PROGRAM" -v -o "$WORK/ours.time" "$BENCH" "$@" >"$WORK/ours.out"
    else
        "$BENCH" "$@" >"$WORK/ours.out"
    fi
}

peak_report() {
    local line
    line=$(tail -n 1 "$WORK/ours.out")
    local before=${line#*vmhwm_before_kb=}
    before=${before%% *}
    local after=${line#*vmhwm_after_kb=}
    local text="VmHWM ${after} KiB (${before} KiB before the copying, +$(((after - before) / 1024)) MiB)"
    if [[ -n $TIME_PROGRAM ]]; then
        text+=", time -v max RSS $(awk -F': ' '/Maximum resident/ {print $2}' "$WORK/ours.time") KiB"
    fi
    echo "$text"
}

# compare NAME "baseline command" "our arguments" "what to remove after each run"; the two alternate.
compare() {
    local name=$1 base_command=$2 our_args=$3 clean=$4
    local base_times=() our_times=() run
    for ((run = 0; run < RUNS; run++)); do
        base_times+=("$(time_ms bash -c "$base_command")")
        bash -c "$clean"
        # shellcheck disable=SC2086
        our_times+=("$(time_ms ours $our_args)")
        bash -c "$clean"
    done
    local base_ms our_ms
    base_ms=$(median "${base_times[@]}")
    our_ms=$(median "${our_times[@]}")
    printf '%-40s baseline %6d ms   bench_big %6d ms   ratio %s   (runs: baseline %s; ours %s)\n' "$name" \
        "$base_ms" "$our_ms" "$(awk -v a="$our_ms" -v b="$base_ms" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}')" \
        "${base_times[*]}" "${our_times[*]}"
    echo "    peak memory of bench_big: $(peak_report)"
}

run_set() {
    local set=$1 count=$2 least=$3 most=$4
    local src=$WORK/$set
    echo "== ($set) $count files of $least to $most bytes"
    "$BENCH" make "$src" "$count" "$least" "$most"
    (cd "$src" && find . -maxdepth 1 -type f -printf '%P\0' | sort -z) >"$WORK/$set.list"
    echo "    $(du -sh --apparent-size "$src" | cut -f1) of data"
    cat "$src"/* >/dev/null # into the page cache, for both sides alike

    # The archive that re-saving and extraction start from.
    ours write "$WORK/$set.big" "$src"

    compare "WriteArchive of the files (cat)" \
        "cd '$src' && xargs -0 cat -- <'$WORK/$set.list' >'$WORK/out.cat'" \
        "write $WORK/out.big $src $WORK/$set.list" "rm -f '$WORK/out.cat' '$WORK/out.big'"
    compare "WriteArchive keeping every entry (cat)" \
        "cat '$WORK/$set.big' >'$WORK/out.cat'" \
        "rewrite $WORK/$set.big $WORK/out.big" "rm -f '$WORK/out.cat' '$WORK/out.big'"
    if ((count <= 100)); then
        compare "extraction (cat, one per file)" \
            "mkdir -p '$WORK/x' && cd '$src' && for f in *; do cat -- \"\$f\" >'$WORK/x/'\"\$f\"; done" \
            "extract $WORK/$set.big $WORK/x" "rm -rf '$WORK/x'"
    fi
    # Stricter: cat writes the same bytes as one stream, without creating a file per entry.
    compare "extraction (cat, one stream)" \
        "cd '$src' && xargs -0 cat -- <'$WORK/$set.list' >'$WORK/out.cat'" \
        "extract $WORK/$set.big $WORK/x" "rm -rf '$WORK/x' '$WORK/out.cat'"
    # What creating the same files costs at least: cp copies them in the kernel, as we do.
    compare "extraction (cp -r of the same files)" \
        "cp -r '$src' '$WORK/x'" \
        "extract $WORK/$set.big $WORK/x" "rm -rf '$WORK/x'"
    rm -rf "$src" "$WORK/$set.big"
}

echo "bench_big: $BENCH, $RUNS runs each, in $WORK"
run_set a 8 201326592 201326592
run_set b 20000 1024 16384
