# Timing helpers of the comparison scripts; sourced, not run.

# GNU time, where it is installed, reports the largest resident size.
TIME_PROGRAM=
[[ -x /usr/bin/time ]] && TIME_PROGRAM=/usr/bin/time

now_us() { local t=$EPOCHREALTIME; echo "${t/./}"; }

# Runs "$@" and prints its wall time in milliseconds.
time_ms() {
    local start end
    start=$(now_us)
    "$@"
    end=$(now_us)
    echo $(((end - start) / 1000))
}

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
