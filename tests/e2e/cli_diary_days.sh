#!/bin/sh
# quillory-cli onthisday, tags and stats on a real folder: the same calendar day of earlier years
# (29 February as the 28th), tags counted by days, the statistics as lines and as JSON, and
# grep's exit statuses. Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_diary_days: $*" >&2; exit 1; }

diary="$work/diary"
mkdir -p "$diary/Entries"
printf '{\\rtf1{\\fonttbl{\\f0 Arial;}}\\par  Leap day at the caf\\'"'"'e9. #Travel\\par}' > "$diary/Entries/20200229.QLE"
printf 'A common 28th, #travel and #work\r\n' > "$diary/Entries/20210228.QLE"
printf 'Day one of two. #work\r\n' > "$diary/Entries/20210301.QLE"
printf 'Day two of two\r\n' > "$diary/Entries/20210302.QLE"
printf 'Today itself\r\n' > "$diary/Entries/20240229.QLE"
run() { "$cli" --folder "$diary" "$@"; }
tab=$(printf '\t')

out=$(run onthisday 2024-02-29) || fail "onthisday failed"
[ "$out" = "$(printf '2020-02-29\tLeap day at the café. #Travel\n2021-02-28\tA common 28th, #travel and #work')" ] \
    || fail "onthisday 29 February: got '$out'"
out=$(run onthisday 2025-02-28) || fail "onthisday of a common 28th failed"
[ "$(echo "$out" | cut -f1 | tr '\n' ' ')" = "2020-02-29 2021-02-28 2024-02-29 " ] || fail "onthisday 28 February: got '$out'"
out=$(run onthisday 2024-07-01); [ $? = 1 ] || fail "onthisday without entries: status not 1"
[ -z "$out" ] || fail "onthisday without entries printed '$out'"
run onthisday 2024-02-30 2>/dev/null; [ $? = 2 ] || fail "onthisday of no day accepted"

out=$(run tags) || fail "tags failed"
[ "$out" = "$(printf 'travel\t2\nwork\t2')" ] || fail "tags: got '$out'"
run tags --from 2024-01-01 >/dev/null; [ $? = 1 ] || fail "tags of a range without any: status not 1"
out=$(run search '#TRAVEL') || fail "search for a tag failed"
[ "$out" = "$(printf '2020-02-29\n2021-02-28')" ] || fail "search #travel: got '$out'"

out=$(run stats --until 2021-12-31) || fail "stats failed"
echo "$out" | grep -qx "entries: 4" || fail "stats entries: '$out'"
echo "$out" | grep -qx "words: 21" || fail "stats words: '$out'"
echo "$out" | grep -qx "first_entry: 2020-02-29" || fail "stats first entry: '$out'"
echo "$out" | grep -qx "longest_streak: 3" || fail "stats streak: '$out'"
echo "$out" | grep -qx "average_words: 5.2" || fail "stats average: '$out'"
json=$(run stats --json --from 2021-01-01 --until 2021-12-31) || fail "stats --json failed"
case "$json" in
    '{"entries": 3, "words": 15, "first_entry": "2021-02-28",'*'"entries_per_month": {"2021-02": 1, "2021-03": 2}}') ;;
    *) fail "stats --json: got '$json'" ;;
esac
command -v python3 >/dev/null && { echo "$json" | python3 -c 'import json,sys; json.load(sys.stdin)' || fail "not JSON: $json"; }
run stats --frm 2020 2>/dev/null; [ $? = 2 ] || fail "an unknown option accepted"
exit 0
