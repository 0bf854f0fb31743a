#!/bin/bash
# Whole-process comparison of `quillory-cli convert --to text` with `unrtf --text`, the fastest
# RTF converter we know of, side by side in one run on the same inputs:
#   bench/against-unrtf.sh [BUILD]        (make bench-unrtf)
# QUILLORY_CLI names another quillory-cli to time (an older build, say) on the same inputs.
# It generates the inputs (a 5 MB and a 20 MB generated document, a one-word entry, a million
# empty paragraphs), times each program on each input (the best of RUNS runs, SMALL_RUNS for the
# one-word entry), measures the peak memory (/usr/bin/time's maximum resident set size) and
# prints a table with the ratios and the targets.
#
# Wall time is taken by the shell (EPOCHREALTIME, microseconds) around the program alone:
# /usr/bin/time's own figure has a resolution of 10 ms, longer than unrtf takes for one word.
set -eu

build=${1:-build}
runs=${RUNS:-5}
small_runs=${SMALL_RUNS:-50}
cli=${QUILLORY_CLI:-$build/quillory-cli}
make_inputs="$build/bench/make_bench_inputs"

for needed in "$cli" "$make_inputs"; do
    [ -x "$needed" ] || { echo "against-unrtf: $needed is missing (make build)" >&2; exit 2; }
done
for tool in unrtf /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "against-unrtf: $tool is missing (scripts/install-deps)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "Generating the inputs in $work ..."
mkdir -p "$work/5" "$work/20"
"$make_inputs" "$work/5" 5 1000000 >/dev/null
"$make_inputs" "$work/20" 20 1 >/dev/null
# The one-word entry as the diary itself stores it.
printf 'word' > "$work/word.txt"
"$cli" convert --to rtf "$work/word.txt" "$work/word.rtf"

# The best wall time in milliseconds of `runs` runs of the command.
best_ms() {
    local count=$1 best="" start end took
    shift
    for ((i = 0; i < count; ++i)); do
        start=$EPOCHREALTIME
        "$@" >/dev/null 2>&1 || { echo "against-unrtf: failed: $*" >&2; exit 2; }
        end=$EPOCHREALTIME
        took=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) * 1000 }')
        if [ -z "$best" ] || awk -v a="$took" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$took
        fi
    done
    echo "$best"
}

# The peak memory in MB of one run of the command.
peak_mb() {
    /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1 || { echo "against-unrtf: failed: $*" >&2; exit 2; }
    awk '{ printf "%.1f", $1 / 1024 }' "$work/peak"
}

size_text() {
    awk -v bytes="$(stat -c %s "$1")" 'BEGIN {
        if (bytes >= 1048576) printf "%.1f MB", bytes / 1048576; else printf "%d B", bytes }'
}

# "N.NNx faster than unrtf", or slower, from unrtf's time and ours.
speed_text() {
    awk -v theirs="$1" -v ours="$2" 'BEGIN {
        if (theirs >= ours) printf "%.2fx faster than unrtf", theirs / ours
        else printf "%.2fx slower than unrtf", ours / theirs }'
}

printf '\n%-24s %8s | %10s %9s | %10s %9s | %-34s | %-46s %s\n' \
    "input" "size" "ours ms" "ours MB" "unrtf ms" "unrtf MB" "ratio" "target" "met"
printf '%s\n' "$(printf '%.0s-' {1..170})"

# One row: name, file, count of runs, kind of target (faster: at least LIMIT times faster and at
# most MEMORY MB; within: at most LIMIT times unrtf's time; none), LIMIT, MEMORY.
row() {
    local name=$1 file=$2 count=$3 target=$4 limit=$5 memory=$6
    local ours theirs ours_mb theirs_mb ratio text goal met
    ours=$(best_ms "$count" "$cli" convert --to text "$file" -)
    theirs=$(best_ms "$count" unrtf --text "$file")
    ours_mb=$(peak_mb "$cli" convert --to text "$file" -)
    theirs_mb=$(peak_mb unrtf --text "$file")
    case $target in
    faster)
        ratio=$(awk -v a="$theirs" -v b="$ours" 'BEGIN { printf "%.2f", a / b }')
        text=$(speed_text "$theirs" "$ours")
        goal=">= ${limit}x faster, <= ${memory} MB peak"
        met=$(awk -v r="$ratio" -v l="$limit" -v m="$ours_mb" -v mm="$memory" \
            'BEGIN { print (r >= l && m <= mm) ? "yes" : "no" }')
        ;;
    within)
        ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')
        text="${ratio}x unrtf's time"
        goal="<= ${limit}x unrtf's time"
        met=$(awk -v r="$ratio" -v l="$limit" 'BEGIN { print (r <= l) ? "yes" : "no" }')
        ;;
    none)
        text=$(speed_text "$theirs" "$ours")
        goal="(no target)"
        met="-"
        ;;
    esac
    printf '%-24s %8s | %10s %9s | %10s %9s | %-34s | %-46s %s\n' \
        "$name" "$(size_text "$file")" "$ours" "$ours_mb" "$theirs" "$theirs_mb" "$text" "$goal" "$met"
}

row "5 MB document" "$work/5/sample.rtf" "$runs" faster 20 40
row "20 MB document" "$work/20/sample.rtf" "$runs" none 0 0
row "one word" "$work/word.rtf" "$small_runs" within 3 0
row "1,000,000 empty paras" "$work/5/empty-paragraphs.rtf" "$runs" faster 2 150
echo
echo "Times are the best wall time of $runs runs ($small_runs for one word); MB is the peak resident set."
