#!/bin/sh
# quillory-cli convert --to pdf: an RTF entry and an HTML page laid out and printed into PDF
# files without a display; the PDF text is read back with pdftotext.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
fail() { echo "cli_convert_pdf: $*" >&2; exit 1; }
# Without pdftotext nothing can be checked: CTest counts the skip code 77 as skipped, not passed.
command -v pdftotext >/dev/null || { echo "cli_convert_pdf: pdftotext missing (scripts/install-deps installs it), skipped"; exit 77; }

printf '{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Dear diary,\\par \\b today\\b0  was caf\\'"'"'e9 day.\\par}' > "$folder/entry.rtf"
printf '<html><body><h1>Heading</h1><p>Second <b>page</b> text</p></body></html>' > "$folder/page.htm"

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$cli" --folder "$folder" convert --to pdf "$folder/entry.rtf" "$folder/entry.pdf" \
    || fail "convert rtf failed"
head -c 5 "$folder/entry.pdf" | grep -q '%PDF-' || fail "not a PDF"
text=$(pdftotext "$folder/entry.pdf" -) || fail "pdftotext failed"
echo "$text" | grep -q "Dear diary," || fail "text missing: $text"
echo "$text" | grep -q "today was café day." || fail "accented text missing: $text"

"$cli" --folder "$folder" convert --to pdf "$folder/page.htm" "$folder/page.pdf" || fail "convert html failed"
pdftotext "$folder/page.pdf" - | grep -q "Second page text" || fail "html text missing"

"$cli" --folder "$folder" convert --to pdf "$folder/missing.rtf" "$folder/x.pdf" 2>/dev/null && fail "missing input accepted"
[ -e "$folder/x.pdf" ] && fail "output written for a missing input"
exit 0
