#!/usr/bin/env bash
# Times `marvok-cli big pack` and `big extract` against tar doing the same work, and cat reading the
# same bytes, side by side in one run, for (a) 8 files of 1.5 GiB in all and (b) 20,000 files of 1
# to 16 KiB. The runs alternate; the median of RUNS runs of each is printed with the ratio to tar,
# and the largest resident size of marvok-cli (GNU time) for each.
#
#   bench/cli/compare_with_tar.sh [BUILD_FOLDER]     BUILD_FOLDER=build, RUNS=3, TMPDIR=/tmp by default
#
# The data are made by bench_big (bench/big) in a temporary folder removed at the end; about 6 GiB
# free in TMPDIR are needed. tar extracts without restoring owners, permissions or times, which
# marvok-cli does not do either.
set -euo pipefail
export LC_ALL=C

BUILD=$(realpath "${1:-build}")
CLI=$BUILD/bin/marvok-cli
MAKER=$BUILD/bench/bench_big
RUNS=${RUNS:-3}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/cli-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

source "$(dirname "${BASH_SOURCE[0]}")/../support/timing.sh"

# marvok-cli under GNU time when there is one, its largest resident size kept in $WORK/cli.time.
cli() {
    if [[ -n $TIME_PROGRAM ]]; then
        "$TIME_PROGRAM" -f '%M' -o "$WORK/cli.time" "$CLI" "$@"
    else
        "$CLI" "$@"
    fi
}

# compare NAME "tar command" "cat command" "marvok-cli arguments" "what to remove after each run"
compare() {
    local name=$1 tar_command=$2 cat_command=$3 cli_args=$4 clean=$5
    local tar_times=() cat_times=() cli_times=() peaks=() run
    for ((run = 0; run < RUNS; run++)); do
        tar_times+=("$(time_ms bash -c "$tar_command")")
        bash -c "$clean"
        cat_times+=("$(time_ms bash -c "$cat_command")")
        bash -c "$clean"
        # shellcheck disable=SC2086
        cli_times+=("$(time_ms cli $cli_args)")
        [[ -n $TIME_PROGRAM ]] && peaks+=("$(cat "$WORK/cli.time")")
        bash -c "$clean"
    done
    local tar_ms cat_ms cli_ms
    tar_ms=$(median "${tar_times[@]}")
    cat_ms=$(median "${cat_times[@]}")
    cli_ms=$(median "${cli_times[@]}")
    printf '%-12s tar %6d ms   cat %6d ms   marvok-cli %6d ms   ratio to tar %s   (runs: tar %s; cat %s; marvok-cli %s)\n' \
        "$name" "$tar_ms" "$cat_ms" "$cli_ms" "$(ratio "$cli_ms" "$tar_ms")" "${tar_times[*]}" "${cat_times[*]}" "${cli_times[*]}"
    if ((${#peaks[@]} > 0)); then
        echo "             largest resident size of marvok-cli: $(printf '%s\n' "${peaks[@]}" | sort -n | tail -1) KiB"
    fi
}

run_set() {
    local set=$1 count=$2 least=$3 most=$4
    local src=$WORK/$set
    echo "== ($set) $count files of $least to $most bytes"
    "$MAKER" make "$src" "$count" "$least" "$most"
    (cd "$src" && find . -type f -printf '%P\0' | sort -z) >"$WORK/$set.list"
    echo "   $(du -sh --apparent-size "$src" | cut -f1) of data"
    cat "$src"/* >/dev/null # into the page cache, for every side alike

    compare "big pack" \
        "tar -cf '$WORK/out.tar' -C '$src' ." \
        "cd '$src' && xargs -0 cat -- <'$WORK/$set.list' >'$WORK/out.cat'" \
        "big pack $src $WORK/out.big" \
        "rm -f '$WORK/out.tar' '$WORK/out.cat' '$WORK/out.big'"

    # The archives that extraction starts from, with the same files.
    tar -cf "$WORK/$set.tar" -C "$src" .
    "$CLI" big pack "$src" "$WORK/$set.big"
    cat "$WORK/$set.tar" "$WORK/$set.big" >/dev/null
    compare "big extract" \
        "mkdir '$WORK/x' && tar -xf '$WORK/$set.tar' -C '$WORK/x' --no-same-owner --no-same-permissions -m" \
        "cat '$WORK/$set.big' >'$WORK/out.cat'" \
        "big extract $WORK/$set.big $WORK/x" \
        "rm -rf '$WORK/x' '$WORK/out.cat'"
    rm -rf "$src" "$WORK/$set.tar" "$WORK/$set.big"
}

echo "marvok-cli: $CLI, $RUNS runs each, in $WORK"
run_set a 8 201326592 201326592
run_set b 20000 1024 16384
