#!/bin/sh
# quillory-cli password set|clear, and cat, search and export with --password-file: a plain diary
# made strong, read back, moved to the simple cipher and cleared; wrong passwords and spoiled
# entries refused.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_password: $*" >&2; exit 1; }

diary="$work/diary"
mkdir -p "$diary/Entries"
rtf='{\rtf1\ansi Dear diary}'
printf '%s' "$rtf" > "$diary/Entries/20261206.QLE"
printf '%s' "$rtf two" > "$diary/Entries/20261207.QLE"
printf 'Str0ng\n' > "$work/strong"
printf 'Wr0ng\n' > "$work/wrong"
printf 'old\n' > "$work/old"

"$cli" --folder "$diary" password set --password-file "$work/strong" </dev/null || fail "set failed"
grep -q '^Scheme=Strong' "$diary/QL.INI" || fail "QL.INI names no strong scheme"
grep -q 'Str0ng' "$diary/QL.INI" && fail "QL.INI holds the password"
head -c 4 "$diary/Entries/20261206.QLE" | grep -q QLSE || fail "entry not sealed"

[ "$("$cli" --folder "$diary" cat 20261206 --password-file "$work/strong")" = "$rtf" ] || fail "cat with the password"
"$cli" --folder "$diary" cat 20261206 --password-file "$work/wrong" 2>/dev/null && fail "cat with a wrong password"
err=$("$cli" --folder "$diary" cat 20261206 </dev/null 2>&1) && fail "cat without a password off a terminal"
case "$err" in *password-file*) ;; *) fail "unclear error: $err" ;; esac
[ "$("$cli" --folder "$diary" search --password-file "$work/strong" --until 2026-12-06 diary)" = "2026-12-06" ] \
  || fail "search with the password"
"$cli" --folder "$diary" search --password-file "$work/wrong" diary 2>/dev/null
[ $? -eq 2 ] || fail "search with a wrong password is no error"
"$cli" --folder "$diary" export --password-file "$work/strong" --format text "$work/out" >/dev/null || fail "export failed"
[ "$(cat "$work/out/20261206.txt")" = "Dear diary" ] || fail "exported text: $(cat "$work/out/20261206.txt")"

# A file moved to another day does not open, and says which.
cp "$diary/Entries/20261207.QLE" "$work/saved"
cp "$diary/Entries/20261206.QLE" "$diary/Entries/20261207.QLE"
err=$("$cli" --folder "$diary" cat 20261207 --password-file "$work/strong" 2>&1) && fail "moved entry opened"
case "$err" in *20261207.QLE*"is damaged or was changed outside Quillory"*) ;; *) fail "unclear error: $err" ;; esac
# ...and stops a re-keying, which changes nothing.
"$cli" --folder "$diary" password clear --old-password-file "$work/strong" 2>/dev/null && fail "cleared over a damaged entry"
grep -q '^Scheme=Strong' "$diary/QL.INI" || fail "the failed clear changed QL.INI"
cp "$work/saved" "$diary/Entries/20261207.QLE"

"$cli" --folder "$diary" password set --legacy --password-file "$work/old" --old-password-file "$work/wrong" 2>/dev/null \
  && fail "changed with a wrong old password"
"$cli" --folder "$diary" password set --legacy --password-file "$work/old" --old-password-file "$work/strong" \
  || fail "move to the simple cipher failed"
grep -q '^Scheme=Strong' "$diary/QL.INI" && fail "still strong"
[ "$("$cli" --folder "$diary" cat 20261207)" = "$rtf two" ] || fail "cat of the simple cipher"

"$cli" --folder "$diary" password clear --old-password-file "$work/old" || fail "clear failed"
[ "$(cat "$diary/Entries/20261206.QLE")" = "$rtf" ] || fail "cleared entry is not plain"

# A passphrase of any letters, spaces and punctuation: its file's CRLF is no part of it, and
# the file that reads it back ends in a bare LF. The simple cipher refuses it by its own rule.
phrase='Zażółć gęślą jaźń — correct horse 7!'
printf '%s\r\n' "$phrase" > "$work/phrase-crlf"
printf '%s\n' "$phrase" > "$work/phrase"
printf '%s' "$phrase" > "$work/phrase-bare"
err=$("$cli" --folder "$diary" password set --legacy --password-file "$work/phrase" 2>&1)
[ $? -eq 2 ] || fail "the simple cipher took a passphrase"
case "$err" in *"1 to 8 characters from A-Z, a-z, 0-9 and space"*) ;; *) fail "unclear refusal: $err" ;; esac
err=$("$cli" --folder "$diary" password set --password-file "$work/phrase-crlf" 2>&1) || fail "passphrase refused: $err"
[ -z "$err" ] || fail "a long passphrase got a note: $err"
grep -q '^Scheme=Strong' "$diary/QL.INI" || fail "the passphrase did not make the diary strong"
[ "$("$cli" --folder "$diary" cat 20261206 --password-file "$work/phrase")" = "$rtf" ] || fail "cat with the passphrase"
[ "$("$cli" --folder "$diary" cat 20261207 --password-file "$work/phrase-bare")" = "$rtf two" ] \
  || fail "cat with the passphrase in a file without a line end"
printf '%s\n' "${phrase%7!}8!" > "$work/phrase-wrong"
"$cli" --folder "$diary" cat 20261206 --password-file "$work/phrase-wrong" >/dev/null 2>&1 && fail "a wrong passphrase opened"
printf '%s\n\n' "$phrase" > "$work/phrase-two-lines"
"$cli" --folder "$diary" cat 20261206 --password-file "$work/phrase-two-lines" >/dev/null 2>&1 \
  && fail "a password file of two lines was taken"

# A short strong password is noted, not refused.
err=$("$cli" --folder "$diary" password set --password-file "$work/strong" --old-password-file "$work/phrase" 2>&1) \
  || fail "a short strong password was refused: $err"
case "$err" in *"longer is safer"*) ;; *) fail "no note on a short password: $err" ;; esac
[ "$("$cli" --folder "$diary" cat 20261206 --password-file "$work/strong")" = "$rtf" ] || fail "cat after the change back"
exit 0
