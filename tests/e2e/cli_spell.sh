#!/bin/sh
# quillory-cli spell: the misspelt words of an RTF entry and of a UTF-8 text, with the
# dictionary the build ships and a user dictionary of the folder.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
dictionary="$(dirname "$cli")/dist-data/quillor.dct"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

fail() { echo "cli_spell: $*" >&2; exit 1; }

[ -f "$dictionary" ] || fail "no dictionary built at $dictionary"
cp "$dictionary" "$folder/quillor.dct"
# The main dictionary is data the program ships: it is read beside the program (a portable copy),
# while --folder names only the diary.
cp "$cli" "$folder/quillory-cli" || fail "cannot copy the program"
cli="$folder/quillory-cli"

printf '{\\rtf1\\ansi Teh hous is {\\b definately} the best hous, isn'"'"'t it? Caf\\'"'"'e9 Quillory.}' > "$folder/entry.rtf"
out=$("$cli" --folder "$folder" spell "$folder/entry.rtf") || fail "spell failed"
[ "$out" = "$(printf 'Teh\nhous\ndefinately\nQuillory')" ] || fail "words: got '$out'"

out=$("$cli" --folder "$folder" spell --suggest "$folder/entry.rtf") || fail "spell --suggest failed"
first=$(printf '%s\n' "$out" | head -1)
case "$first" in
  "$(printf 'Teh\t')"*) ;;
  *) fail "suggest line: got '$first'" ;;
esac
printf '%s\n' "$out" | grep -q "$(printf '^definately\tdefinitely, ')" || fail "definitely not first: '$out'"

# UTF-8 text in, UTF-8 out.
printf 'Quillory keeps a caf\303\251 diary in Z\303\274rich, Z\303\274rch.\n' > "$folder/notes.txt"
out=$("$cli" --folder "$folder" spell "$folder/notes.txt") || fail "text failed"
[ "$out" = "$(printf 'Quillory\nZ\303\274rch')" ] || fail "text: got '$out'"
"$cli" --folder "$folder" spell "$folder/missing.txt" 2>/dev/null; [ $? -eq 2 ] || fail "missing file not an error"

# Words of scripts the English dictionary does not spell are passed by, in text and in RTF; a
# misspelt word among them is still reported.
printf 'Жук σοφός 東京都に行きました the speling, ภาษาไทย.\n' > "$folder/scripts.txt"
out=$("$cli" --folder "$folder" spell "$folder/scripts.txt") || fail "scripts failed"
[ "$out" = speling ] || fail "scripts: got '$out'"
printf '{\\rtf1\\ansi\\uc1 \\u1046?\\u1091?\\u1082? \\u963?\\u959?\\u966?\\u972?\\u962? speling}' > "$folder/scripts.rtf"
out=$("$cli" --folder "$folder" spell "$folder/scripts.rtf") || fail "scripts RTF failed"
[ "$out" = speling ] || fail "scripts RTF: got '$out'"
printf 'Жук σοφός 東京\n' > "$folder/foreign.txt"
out=$("$cli" --folder "$folder" spell "$folder/foreign.txt"); status=$?
[ $status -eq 1 ] && [ -z "$out" ] || fail "foreign words reported: status $status, '$out'"

# Unix line ends end lines: the last word of one line and the first of the next stay apart,
# as they do with CR LF.
printf 'wrld\nbad speling\n' > "$folder/lf.txt"
out=$("$cli" --folder "$folder" spell "$folder/lf.txt") || fail "LF text failed"
[ "$out" = "$(printf 'wrld\nspeling')" ] || fail "LF text: got '$out'"
out=$(printf 'wrld\r\nbad speling\r\n' | "$cli" --folder "$folder" spell -) || fail "CRLF text failed"
[ "$out" = "$(printf 'wrld\nspeling')" ] || fail "CRLF text: got '$out'"

# Another language by its code; spell --help names the installed ones; an unknown code is an error.
cp "$(dirname "$dictionary")/quillor-de.dct" "$folder/" || fail "no German dictionary built"
out=$(printf 'Die Stra\303\237e ist sch\303\266n, the Strasse\n' | "$cli" --folder "$folder" spell --language de -) \
  || fail "spell --language de failed"
[ "$out" = "$(printf 'the\nStrasse')" ] || fail "German: got '$out'"
"$cli" spell --help | grep -qx 'languages installed: en-US de' || fail "help: $("$cli" spell --help)"
"$cli" --folder "$folder" spell --language xx "$folder/lf.txt" 2>/dev/null; [ $? -eq 2 ] || fail "unknown language not an error"
"$cli" --folder "$folder" spell --language fr "$folder/lf.txt" 2>/dev/null; [ $? -eq 2 ] || fail "language not installed not an error"
# The diary's language, kept in QL.INI, is the default.
printf '[Spelling]\r\nLanguage=de\r\n' > "$folder/QL.INI"
out=$(printf 'Die Strasse\n' | "$cli" --folder "$folder" spell -) || fail "diary language failed"
[ "$out" = Strasse ] || fail "diary language: got '$out'"
rm "$folder/QL.INI" "$folder/quillor-de.dct"

# Standard input, as from `quillory-cli cat DAY`.
out=$("$cli" --folder "$folder" spell - < "$folder/entry.rtf") || fail "spell - failed"
[ "$out" = "$(printf 'Teh\nhous\ndefinately\nQuillory')" ] || fail "stdin: got '$out'"

# Nothing misspelt: exit 1 and no output, as grep finds nothing.
printf 'The house is quiet.\n' > "$folder/good.txt"
out=$("$cli" --folder "$folder" spell "$folder/good.txt"); status=$?
[ $status -eq 1 ] && [ -z "$out" ] || fail "clean text: status $status, '$out'"

# Without a main dictionary it is an error, not a list of every word.
rm "$folder/quillor.dct"
"$cli" --folder "$folder" spell "$folder/good.txt" 2>/dev/null; [ $? -eq 2 ] || fail "missing dictionary not an error"
exit 0
