#!/bin/sh
# quillory-cli convert: RTF, HTML and plain text in, each format out, through real files (PDF
# output has its own test).
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
fail() { echo "cli_convert: $*" >&2; exit 1; }

printf '  {\\rtf1\\ansi {\\b Hello} caf\\'"'"'e9\\par World}' > "$folder/in.rtf"
printf '<p>Hello <b>there</b></p><p>World</p>' > "$folder/in.html"
printf 'plain\r\ntext' > "$folder/in.txt"

"$cli" convert --to html "$folder/in.rtf" "$folder/out.html" || fail "rtf to html failed"
grep -q '<b>Hello</b>' "$folder/out.html" || fail "html lost the bold: $(cat "$folder/out.html")"
grep -q 'caf&eacute;' "$folder/out.html" || fail "html lost the accent"

"$cli" convert "$folder/in.html" "$folder/out.rtf" || fail "html to rtf (by name) failed"
head -c 6 "$folder/out.rtf" | grep -q '^{\\rtf1' || fail "not RTF: $(head -c 40 "$folder/out.rtf")"
grep -q '\\b' "$folder/out.rtf" || fail "rtf lost the bold"

out=$("$cli" convert --to text "$folder/out.rtf" - | tr -d '\000\r') || fail "rtf to text failed"
[ "$out" = "$(printf 'Hello there\nWorld')" ] || fail "text: got '$out'"

# Without --to and without a telling name, a text file stays text.
"$cli" convert "$folder/in.txt" "$folder/out.qle" || fail "text to text failed"
[ "$(tr -d '\000' < "$folder/out.qle")" = "$(printf 'plain\r\ntext')" ] || fail "text changed"

"$cli" convert "$folder/missing.rtf" "$folder/x.rtf" 2>/dev/null && fail "missing input accepted"
"$cli" convert --to word "$folder/in.rtf" - 2>/dev/null && fail "unknown format accepted"
exit 0
