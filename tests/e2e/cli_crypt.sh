#!/bin/sh
# quillory-cli crypt and cat: the entry cipher over real files, and an entry read back through
# the password kept in QL.INI. Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_crypt: $*" >&2; exit 1; }
size() { wc -c < "$1" | tr -d ' '; }

# The stored format, byte for byte: the empty password seeds 0, whose keystream starts 0, 8, 219.
printf 'abc' > "$work/abc"
"$cli" crypt --encrypt --password "" "$work/abc" "$work/abc.QLE" || fail "encrypt abc failed"
[ "$(od -An -tu1 "$work/abc.QLE" | tr -s ' ')" = " 97 106 62" ] || fail "abc enciphered wrongly"

# A round trip across several 4096-byte blocks; the key ignores letter case.
head -c 10000 /dev/urandom > "$work/plain.rtf"
"$cli" crypt --encrypt --password "Secret" "$work/plain.rtf" "$work/entry.QLE" || fail "encrypt failed"
[ "$(size "$work/entry.QLE")" = 10000 ] || fail "enciphered length changed"
cmp -s "$work/plain.rtf" "$work/entry.QLE" && fail "enciphered file is the plain file"
"$cli" crypt --password "SECRET" --decrypt "$work/entry.QLE" "$work/back.rtf" || fail "decrypt failed"
cmp -s "$work/plain.rtf" "$work/back.rtf" || fail "round trip changed the file"

# Refusals: on standard error, with a failing exit, and no file touched.
err=$("$cli" crypt --encrypt --password x "$work/missing" "$work/out" 2>&1) && fail "missing input accepted"
case "$err" in *"Input file does not exist."*) ;; *) fail "missing input: got '$err'" ;; esac
err=$("$cli" crypt --encrypt --password x "$work/abc" "$work/abc" 2>&1) && fail "same files accepted"
case "$err" in *"InputFile and OutputFile must be different files."*) ;; *) fail "same files: got '$err'" ;; esac
[ "$(cat "$work/abc")" = abc ] || fail "refused run changed its input"
err=$("$cli" crypt --encrypt --password x "$work/abc" "$work/no/such/out" 2>&1) && fail "uncreatable output accepted"
case "$err" in *"Cannot create file $work/no/such/out"*) ;; *) fail "uncreatable output: got '$err'" ;; esac
"$cli" crypt --password x "$work/abc" "$work/out" 2>/dev/null && fail "run without a direction accepted"
"$cli" crypt --encrypt "$work/abc" "$work/out" 2>/dev/null && fail "run without a password accepted"
[ -e "$work/out" ] && fail "a refused run wrote its output"

# cat: plain entries without a password...
diary="$work/diary"
mkdir -p "$diary/Entries"
printf '{\\rtf1 plain day}' > "$diary/Entries/20261205.qle"
out=$("$cli" --folder "$diary" cat 20261205) || fail "cat of a plain entry failed"
[ "$out" = '{\rtf1 plain day}' ] || fail "cat plain: got '$out'"

# ...and enciphered ones, with "Secret" stored scrambled in QL.INI.
printf '[Security]\r\nPassword=\261\317\301\334\303\336\r\n' > "$diary/QL.INI"
printf '{\\rtf1 secret day}' > "$work/day.rtf"
"$cli" crypt --encrypt --password Secret "$work/day.rtf" "$diary/Entries/20261206.QLE" || fail "encrypt entry failed"
out=$("$cli" --folder "$diary" cat 20261206) || fail "cat of an enciphered entry failed"
[ "$out" = '{\rtf1 secret day}' ] || fail "cat enciphered: got '$out'"

"$cli" --folder "$diary" cat 20261207 2>/dev/null && fail "cat of a day without entry succeeded"
"$cli" --folder "$diary" cat 20260230 2>/dev/null && fail "cat of 30 February succeeded"
"$cli" --folder "$diary" cat 2026120 2>/dev/null && fail "cat of a short key succeeded"
exit 0
