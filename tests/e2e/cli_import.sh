#!/bin/sh
# quillory-cli import and the open export formats: a jrnl export imported (a dry run first,
# then for real, then again with days that have entries), errors and exit codes, and the
# Markdown export of that diary imported into another one giving the same text.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_import: $*" >&2; exit 1; }

mkdir -p "$work/diary" "$work/other"
cat > "$work/journal.json" <<'JSON'
{"tags": {"@work": 1}, "entries": [
 {"title": "Evening.", "body": "Met @work people.\nЗдравствуй", "date": "2020-07-01", "time": "20:00", "tags": ["@work"], "starred": false},
 {"title": "Morning", "body": "coffee", "date": "2020-07-01", "time": "07:15", "tags": [], "starred": false},
 {"title": "Next day", "body": "", "date": "2020-07-02", "time": "09:00", "tags": [], "starred": false}]}
JSON

out=$("$cli" --folder "$work/diary" import jrnl "$work/journal.json" --dry-run) || fail "dry run failed"
[ "$(printf '%s\n' "$out" | head -1)" = "Dry run, nothing written: Read 3 entries from jrnl JSON: 2 new days, 0 appended, 0 replaced, 0 skipped" ] \
  || fail "dry run said: $out"
[ -z "$(ls -A "$work/diary")" ] || fail "a dry run wrote: $(ls -A "$work/diary")"

"$cli" --folder "$work/diary" import jrnl "$work/journal.json" >/dev/null || fail "import failed"
"$cli" --folder "$work/diary" days 2020-07 | grep -qx "2020-07-01" || fail "no entry on the first"
"$cli" --folder "$work/diary" import jrnl "$work/journal.json" --on-conflict skip >/dev/null
[ $? -eq 1 ] || fail "skipping every day is not exit 1"
"$cli" --folder "$work/diary" import jrnl "$work/journal.json" --on-conflict sideways >/dev/null 2>&1
[ $? -eq 2 ] || fail "an unknown rule is not exit 2"
"$cli" --folder "$work/diary" import jrnl "$work/missing.json" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a missing source is not exit 2"
"$cli" --folder "$work/diary" import markdown "$work/journal.json" --pattern "YYYY.md" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a pattern without a day is not exit 2"

# The Markdown export imported into another diary gives the same text.
"$cli" --folder "$work/diary" export --format markdown "$work/md" >/dev/null || fail "markdown export failed"
[ -f "$work/md/2020-07-01.md" ] || fail "no 2020-07-01.md in: $(ls "$work/md")"
"$cli" --folder "$work/other" import markdown "$work/md" >/dev/null || fail "markdown import failed"
"$cli" --folder "$work/diary" export --format text "$work/text1" >/dev/null
"$cli" --folder "$work/other" export --format text "$work/text2" >/dev/null
diff -r "$work/text1" "$work/text2" >&2 || fail "the text changed on its way through Markdown"
grep -q "Здравствуй" "$work/text2/20200701.txt" || fail "the Cyrillic line is gone"

"$cli" --folder "$work/diary" export --format json "$work/json" >/dev/null || fail "json export failed"
grep -q '"date": "2020-07-02"' "$work/json/diary.json" || fail "diary.json lacks the second day"
exit 0
