#!/bin/sh
# quillory-cli convert-legacy: converts an old diary once, refuses a second time and without
# its memo file, and leaves no Entries folder when the table is damaged.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
data="$(dirname "$0")/../data/legacy"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

fail() { echo "cli_convert_legacy: $*" >&2; exit 1; }

cp "$data/diary/QUILLOR.DBF" "$data/diary/QUILLOR.FPT" "$folder/"
out=$("$cli" --folder "$folder" convert-legacy) || fail "conversion failed"
[ "$out" = "$(printf '6 entries written\n6 records skipped')" ] || fail "got '$out'"
[ "$(ls "$folder/Entries" | tr '\n' ' ')" = "20240101.QLE 20240210.QLE 20240215.QLE 20240220.QLE 20240225.QLE 20240305.QLE " ] \
  || fail "entries: $(ls "$folder/Entries")"
[ "$("$cli" --folder "$folder" cat 20240305)" = '{\rtf1\ansi March}' ] || fail "cat 20240305"
cmp -s "$folder/QUILLOR.DBF" "$data/diary/QUILLOR.DBF" || fail "the table changed"

"$cli" --folder "$folder" convert-legacy >/dev/null 2>&1
[ $? -eq 2 ] || fail "a second conversion was not refused with 2"

rm -rf "$folder/Entries" "$folder/QUILLOR.FPT"
err=$("$cli" --folder "$folder" convert-legacy 2>&1 >/dev/null)
[ $? -eq 2 ] || fail "a missing memo file was not refused with 2"
case "$err" in *QUILLOR.FPT*) ;; *) fail "missing memo file: '$err'" ;; esac

rm -f "$folder/QUILLOR.DBF"
cp "$data/broken-pointer-past-end/QUILLOR.DBF" "$data/broken-pointer-past-end/QUILLOR.FPT" "$folder/"
err=$("$cli" --folder "$folder" convert-legacy 2>&1 >/dev/null)
[ $? -eq 2 ] || fail "a damaged table did not fail with 2"
case "$err" in *"record 2 starts past the end"*) ;; *) fail "damaged table: '$err'" ;; esac
[ ! -e "$folder/Entries" ] && [ ! -e "$folder/Entries.convert" ] || fail "a damaged table left folders"
exit 0
