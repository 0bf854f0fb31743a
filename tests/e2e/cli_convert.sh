#!/bin/sh
# quillory-cli convert: RTF, HTML and plain text in, each format out, through real files (PDF
# output has its own test); text in and out is UTF-8.
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
grep -q "caf$(printf '\303\251')" "$folder/out.html" || fail "html lost the accent: $(cat "$folder/out.html")"
grep -q '<meta charset="utf-8">' "$folder/out.html" || fail "html does not say it is UTF-8"

"$cli" convert "$folder/in.html" "$folder/out.rtf" || fail "html to rtf (by name) failed"
head -c 6 "$folder/out.rtf" | grep -q '^{\\rtf1' || fail "not RTF: $(head -c 40 "$folder/out.rtf")"
grep -q '\\b' "$folder/out.rtf" || fail "rtf lost the bold"

"$cli" convert --to text "$folder/out.rtf" - > "$folder/out.txt" || fail "rtf to text failed"
printf 'Hello there\nWorld' | cmp -s - "$folder/out.txt" || fail "text: got '$(od -c "$folder/out.txt")'"

# Text for people and scripts is UTF-8 with LF line ends: no cp1252 bytes, no placeholder
# byte for a picture, no NUL at the end.
printf '{\\rtf1\\ansi caf\\'"'"'e9 \\'"'"'80{\\pict\\dibitmap0\\picw2\\pich2 ff000000ff000000}x\\par second}' > "$folder/pic.rtf"
"$cli" convert --to text "$folder/pic.rtf" - > "$folder/pic.txt" || fail "rtf with a picture to text failed"
printf 'caf\303\251 \342\202\254x\nsecond' | cmp -s - "$folder/pic.txt" || fail "UTF-8 text: got '$(od -c "$folder/pic.txt")'"

# RTF of other scripts, in a font's or the document's code page or as \u, prints its characters.
printf '{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 Greek;}}\\'"'"'c6\\'"'"'f3\\'"'"'ea {\\f1 \\'"'"'d3} \\u20013? \\u-10179?\\u-8704?}' > "$folder/scripts.rtf"
"$cli" convert --to text "$folder/scripts.rtf" - > "$folder/scripts.txt" || fail "rtf of other scripts to text failed"
printf 'Жук Σ 中 😀' | cmp -s - "$folder/scripts.txt" || fail "scripts: got '$(cat "$folder/scripts.txt")'"

# Plain UTF-8 text in: read as the characters it holds, and back out unchanged.
printf 'caf\303\251 \342\202\254\nline' > "$folder/utf8.txt"
"$cli" convert --to rtf "$folder/utf8.txt" "$folder/utf8.rtf" || fail "UTF-8 text to rtf failed"
grep -q "caf\\\\'e9" "$folder/utf8.rtf" || fail "UTF-8 text read as bytes: $(cat "$folder/utf8.rtf")"
"$cli" convert "$folder/utf8.txt" "$folder/utf8.out" || fail "text to text failed"
cmp -s "$folder/utf8.txt" "$folder/utf8.out" || fail "text changed: $(od -c "$folder/utf8.out")"
# Characters of every script are kept: RTF writes them as \\u with a fallback.
printf 'Greek \316\251 Russian \320\226 emoji \360\237\230\200\nend' > "$folder/scripts.txt"
"$cli" convert --to rtf "$folder/scripts.txt" "$folder/scripts.rtf" || fail "text of every script to rtf failed"
grep -q 'Greek \\u937? Russian \\u1046? emoji \\u-10179?\\u-8704?' "$folder/scripts.rtf" || fail "rtf lost characters: $(cat "$folder/scripts.rtf")"
"$cli" convert "$folder/scripts.txt" "$folder/scripts.out" || fail "text of every script to text failed"
cmp -s "$folder/scripts.txt" "$folder/scripts.out" || fail "text of every script changed: $(od -c "$folder/scripts.out")"
printf '<p>&#1046;&#x1F600; \320\226 &alpha;</p>' > "$folder/scripts.html"
"$cli" convert --to text "$folder/scripts.html" - > "$folder/html.txt" || fail "html of every script to text failed"
printf '\320\226\360\237\230\200 \320\226 \316\261' | cmp -s - "$folder/html.txt" || fail "html text: got '$(od -c "$folder/html.txt")'"
# A text file of an older copy is cp1252: read as the characters it meant.
printf 'caf\351 \200' > "$folder/old.txt"
"$cli" convert --to text "$folder/old.txt" - > "$folder/old.out" || fail "cp1252 text to text failed"
printf 'caf\303\251 \342\202\254' | cmp -s - "$folder/old.out" || fail "cp1252 text: got '$(od -c "$folder/old.out")'"
# Passwords are still kept in cp1252: one that it cannot hold is refused with a clear error.
err=$("$cli" crypt --encrypt --password "$(printf 'p\316\251')" "$folder/in.rtf" "$folder/x.qle" 2>&1) && fail "a password cp1252 cannot hold was accepted"
case "$err" in *U+03A9*) ;; *) fail "unclear password error: $err" ;; esac

"$cli" convert "$folder/missing.rtf" "$folder/x.rtf" 2>/dev/null && fail "missing input accepted"
"$cli" convert --to word "$folder/in.rtf" - 2>/dev/null && fail "unknown format accepted"
exit 0
