#!/bin/sh
# quillory-cli search: the days whose entry text contains a text, from a real folder, plain and
# enciphered, with grep's exit statuses. Arguments: the quillory executable, the quillory-cli
# executable.
set -u
cli="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_search: $*" >&2; exit 1; }

diary="$work/diary"
mkdir -p "$diary/Entries"
printf '{\\rtf1{\\fonttbl{\\f0 Arial;}}We met at the caf\\'"'"'e9.\\par}' > "$work/a.rtf"
printf '{\\rtf1{\\fonttbl{\\f0 Arial;}}Sun{\\b fl}ower seeds\\par CAF\\'"'"'c9 again}' > "$work/b.rtf"
printf 'A plain text entry about a cafe\r\n' > "$work/c.rtf"
cp "$work/b.rtf" "$diary/Entries/20240310.QLE"
cp "$work/a.rtf" "$diary/Entries/20231231.qle"
cp "$work/c.rtf" "$diary/Entries/20240101.QLE"

search() { "$cli" --folder "$diary" search "$@"; }

out=$(search café) || fail "café not found"
[ "$out" = "$(printf '2023-12-31\n2024-03-10')" ] || fail "café: got '$out'"
out=$(search SUNFLOWER) || fail "a word split by bold not found"
[ "$out" = 2024-03-10 ] || fail "sunflower: got '$out'"
out=$(search --from 20240101 --until 2024-03-09 caf) || fail "range search failed"
[ "$out" = 2024-01-01 ] || fail "range: got '$out'"
out=$(search 'seeds*again')
[ $? = 1 ] || fail "a match across paragraphs"
[ -z "$out" ] || fail "printed without a match: '$out'"
search Arial >/dev/null && fail "a font name was found"

# The query language: every word in any order, a phrase, an excluded word, a tag, days; a word
# without accents finds the accented ones; several arguments are one query.
printf 'Tea by the river. #Walk\r\nAnother line\r\n' > "$diary/Entries/20240201.QLE"
out=$(search cafe) || fail "cafe not found"
[ "$out" = "$(printf '2023-12-31\n2024-01-01\n2024-03-10')" ] || fail "cafe: got '$out'"
out=$(search again seeds) || fail "two words not found"
[ "$out" = 2024-03-10 ] || fail "two words: got '$out'"
out=$(search cafe -plain) || fail "an exclusion failed"
[ "$out" = "$(printf '2023-12-31\n2024-03-10')" ] || fail "cafe -plain: got '$out'"
out=$(search '"by the river"') || fail "a phrase not found"
[ "$out" = 2024-02-01 ] || fail "phrase: got '$out'"
search '"the by river"' >/dev/null && fail "a phrase matched out of order"
out=$(search '#WALK') || fail "a tag not found"
[ "$out" = 2024-02-01 ] || fail "tag: got '$out'"
out=$(search 'from:2024-01-02 until:2024-03' e) || fail "a range in the query failed"
[ "$out" = "$(printf '2024-02-01\n2024-03-10')" ] || fail "range in the query: got '$out'"
search 'from:2024-02-30 tea' 2>/dev/null; [ $? = 2 ] || fail "a day that is none accepted"
rm "$diary/Entries/20240201.QLE"
search '\par' >/dev/null && fail "markup was found"

# Any script: a Cyrillic or Greek query in any case, in RTF written with \uN and in plain UTF-8
# text; none found is status 1, as before.
printf '{\\rtf1\\ansi\\uc1 \\u1046?\\u1091?\\u1082? \\u1080? \\u1105?\\u1078?\\par}' > "$diary/Entries/20240401.QLE"
printf '\360\237\230\200 Сегодня ЖУК. Σοφός\n' > "$diary/Entries/20240402.QLE"
out=$(search жук) || fail "жук not found"
[ "$out" = "$(printf '2024-04-01\n2024-04-02')" ] || fail "жук: got '$out'"
out=$(search ΣΟΦΌΣ) || fail "σοφός not found"
[ "$out" = 2024-04-02 ] || fail "σοφός: got '$out'"
out=$(search 'ЁЖ*')
[ "$out" = 2024-04-01 ] || fail "ёж: got '$out'"
out=$(search жуки); [ $? = 1 ] || fail "жуки: status not 1"
[ -z "$out" ] || fail "жуки printed '$out'"
search "$(printf 'caf\351')" 2>/dev/null; [ $? = 2 ] || fail "a query that is not UTF-8 accepted"
rm "$diary/Entries/20240401.QLE" "$diary/Entries/20240402.QLE"

# Errors: status 2, a message on standard error.
search "" 2>/dev/null; [ $? = 2 ] || fail "empty text accepted"
search --from 2024-02-30 x 2>/dev/null; [ $? = 2 ] || fail "30 February accepted"
"$cli" --folder "$work/missing" search x 2>/dev/null; [ $? = 2 ] || fail "missing folder accepted"
err=$(search --frm 2024-01-01 x 2>&1); [ $? = 2 ] || fail "unknown option accepted"
[ -n "$err" ] || fail "no message for an unknown option"

# Enciphered with "Secret", stored scrambled in QL.INI: deciphered in memory, no plain copy.
printf '[Security]\r\nPassword=\261\317\301\334\303\336\r\n' > "$diary/QL.INI"
for day in 20231231 20240310; do
    file=$(ls "$diary/Entries/" | grep -i "^$day")
    "$cli" crypt --encrypt --password Secret "$diary/Entries/$file" "$work/enc" || fail "encrypt failed"
    mv "$work/enc" "$diary/Entries/$file"
done
rm "$diary/Entries/20240101.QLE"
out=$(search 'CAFÉ') || fail "enciphered search failed"
[ "$out" = "$(printf '2023-12-31\n2024-03-10')" ] || fail "enciphered: got '$out'"
[ -z "$(find "$work/diary" -iname 'eraseme*')" ] || fail "a plain copy was written"
exit 0
