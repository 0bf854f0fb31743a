#!/bin/sh
# quillory-cli days: the first and last diary day and the days of a month, from a real folder.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir -p "$folder/Entries"
: > "$folder/Entries/19990105.QLE"
: > "$folder/Entries/19990120.qle"
: > "$folder/Entries/notes.QLE"
today=$(date +%Y-%m-%d)

fail() { echo "cli_days: $*" >&2; exit 1; }

out=$("$cli" --folder "$folder" days) || fail "days failed"
[ "$out" = "$(printf '1999-01-05\n%s' "$today")" ] || fail "first/last: got '$out'"

out=$("$cli" --folder "$folder" days 1999-01) || fail "days 1999-01 failed"
[ "$out" = "$(printf '1999-01-05\n1999-01-20')" ] || fail "month: got '$out'"

out=$("$cli" --folder "$folder" days 1999-02) || fail "days 1999-02 failed"
[ -z "$out" ] || fail "empty month: got '$out'"

"$cli" --folder "$folder" days 1999-13 2>/dev/null && fail "month 13 accepted"
"$cli" --folder "$folder/missing" days 2>/dev/null && fail "missing folder accepted"
exit 0
