#!/bin/sh
# quillory-cli export and print: entries of a diary written into files of their own (byte copies
# without a password, plain RTF with one, text), the printed pages as a PDF checked with poppler's
# tools, and the exit status when a file cannot be written.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
fail() { echo "cli_output: $*" >&2; exit 1; }
command -v pdftotext >/dev/null || { echo "cli_output: pdftotext missing, skipped"; exit 0; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=C "$cli" --folder "$folder/diary" "$@"; }

mkdir -p "$folder/diary/Entries"
entry() { printf '{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 %s\\par}' "$2" > "$folder/diary/Entries/$1.QLE"; }
entry 20160104 "First entry text"
entry 20160105 "Second entry text"
entry 20160210 "Later entry text"

# Export: every entry, then a range, into a folder that does not exist yet.
out=$(run export "$folder/out") || fail "export failed"
[ "$out" = "Saved 3 file(s) as Rich Text Format (RTF)
to directory: $folder/out/" ] || fail "summary: $out"
cmp -s "$folder/diary/Entries/20160104.QLE" "$folder/out/20160104.RTF" || fail "not a byte copy"
out=$(run export --from 2016-01-05 --until 20160131 --format text "$folder/text") || fail "text export failed"
echo "$out" | grep -q "^Saved 1 file(s) as plain text (UTF-8)$" || fail "text summary: $out"
grep -q "Second entry text" "$folder/text/20160105.txt" || fail "text file"

# A file in the way: the others are written, the failed day is named, the exit status is 1.
mkdir -p "$folder/blocked/20160105.RTF"
run export "$folder/blocked" > "$folder/stdout" 2> "$folder/stderr"
[ $? -eq 1 ] || fail "partial failure not exit 1"
grep -q "^Saved 2 file(s)" "$folder/stdout" || fail "partial summary: $(cat "$folder/stdout")"
grep -q "2016-01-05" "$folder/stderr" || fail "failed day not named: $(cat "$folder/stderr")"
run export --format doc "$folder/x" 2>/dev/null; [ $? -eq 2 ] || fail "unknown format not exit 2"

# Print: each entry under its long date, or merged under headings on one page.
run print --pdf "$folder/sep.pdf" --until 2016-01-31 || fail "print failed"
text=$(pdftotext -layout "$folder/sep.pdf" -)
echo "$text" | grep -q "Monday, January 4, 2016" || fail "header missing: $text"
echo "$text" | grep -q "Tuesday, January 5, 2016" || fail "second header missing"
pdfinfo "$folder/sep.pdf" | grep -q "^Pages: *2$" || fail "separate printing is not a page per entry"
run print --pdf "$folder/merged.pdf" --merged || fail "merged print failed"
pdfinfo "$folder/merged.pdf" | grep -q "^Pages: *1$" || fail "merged entries not on one page"
pdftotext "$folder/merged.pdf" - | grep -q "Later entry text" || fail "merged text missing"
run print --pdf "$folder/none.pdf" --from 2016-02-01 --until 2016-01-01 2>/dev/null
[ $? -eq 1 ] || fail "an empty range is not exit 1"
[ -e "$folder/none.pdf" ] && fail "a PDF for no entries"
exit 0
