#!/bin/sh
# quillory-cli backup --auto and backups: what closing the diary does, at most once a day and
# only when something changed; the rotation of older automatic backups with the folder's other
# files left alone; the listing; automatic backups off; a folder that cannot be written.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
command -v python3 >/dev/null 2>&1 || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_auto_backup: $*" >&2; exit 1; }
tab=$(printf '\t')

diary="$work/diary"
backups="$diary/backups"
mkdir -p "$diary/Entries"
printf '%s' '{\rtf1\ansi Sixth}' > "$diary/Entries/20261206.QLE"
printf '%s' '{\rtf1\ansi Seventh}' > "$diary/Entries/20261207.QLE"
printf '[Opening Screen]\nshow=0\n' > "$diary/QL.INI"

"$cli" --folder "$diary" backups >/dev/null; [ $? -eq 1 ] || fail "backups of none: exit status not 1"

out=$("$cli" --folder "$diary" backup --auto) || fail "first automatic backup failed"
case "$out" in
  "2 entries and QL.INI backed up to $backups/Quillory backup "????-??-??" "????.zip) ;;
  *) fail "first backup said: $out" ;;
esac
first="${out#*backed up to }"
[ -f "$first" ] || fail "no archive at $first"
out=$("$cli" --folder "$diary" backup --auto) || fail "second run failed"
[ "$out" = "No backup needed: there is one of today" ] || fail "second run said: $out"

line=$("$cli" --folder "$diary" backups) || fail "backups failed"
size=$(wc -c < "$first" | tr -d ' ')
stamp=$(basename "$first" .zip | sed 's/^Quillory backup //; s/\(..\)$/:\1/')
[ "$line" = "$stamp${tab}2${tab}$size${tab}$first" ] || fail "backups said: $line"

# Older automatic backups (copies of ours under older names), the user's files beside them and
# an archive named like ours that this program did not write.
for day in 01 02 03 04 05 06 07 08 09 10; do cp "$first" "$backups/Quillory backup 2000-01-$day 2200.zip"; done
printf 'mine' > "$backups/notes.txt"
python3 - "$backups/Quillory backup 2000-01-01 0800.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("Entries/20000101.QLE", "{\\rtf1 by hand}")
PY
"$cli" --folder "$diary" backups | cut -f1 | tr '\n' ' ' | grep -q "^$stamp 2000-01-10 22:00 2000-01-09 22:00 .* 2000-01-01 22:00 $" \
  || fail "backups not newest first: $("$cli" --folder "$diary" backups | cut -f1 | tr '\n' ' ')"

# Today's gone and the diary changed: the next run writes one and rotates the rest. Kept: 7 days
# (today's and 5 to 10 January 2000), 4 weeks from Monday (2 January 2000, a Sunday, is the
# newest of its week), 12 months; 1, 3 and 4 January 2000 are no longer kept.
rm "$first"
printf '%s' '{\rtf1\ansi Sixth, changed}' > "$diary/Entries/20261206.QLE"
out=$("$cli" --folder "$diary" backup --auto) || fail "third run failed"
case "$out" in *"; 3 older backups removed") ;; *) fail "third run said: $out" ;; esac
left=$(cd "$backups" && ls | grep -v "^Quillory backup [0-9-]* [0-9]*.zip$" | tr '\n' '|')
[ "$left" = "notes.txt|" ] || fail "other files: $left"
[ -f "$backups/Quillory backup 2000-01-01 0800.zip" ] || fail "an archive not ours was removed"
for day in 01 03 04; do [ -e "$backups/Quillory backup 2000-01-$day 2200.zip" ] && fail "2000-01-$day kept"; done
for day in 02 05 06 07 08 09 10; do
  [ -f "$backups/Quillory backup 2000-01-$day 2200.zip" ] || fail "2000-01-$day removed"
done
[ "$("$cli" --folder "$diary" backups | wc -l)" -eq 8 ] || fail "backups: $("$cli" --folder "$diary" backups)"

# Off: nothing happens. A folder that cannot be written: an error, the old backups kept.
printf '[Backups]\nAutomatic=0\n' >> "$diary/QL.INI"
out=$("$cli" --folder "$diary" backup --auto) || fail "run while off failed"
[ "$out" = "Automatic backups are off" ] || fail "off said: $out"
printf '[Opening Screen]\nshow=0\n[Backups]\nFolder=/proc/quillory-backups\n' > "$diary/QL.INI"
before=$(ls "$backups")
err=$("$cli" --folder "$diary" backup --auto 2>&1 >/dev/null)
[ $? -eq 2 ] || fail "unwritable folder: exit status not 2"
case "$err" in "quillory-cli: Cannot create folder /proc/quillory-backups"*) ;; *) fail "unwritable folder said: $err" ;; esac
[ "$(ls "$backups")" = "$before" ] || fail "old backups touched"
grep -q '^Failed=' "$diary/Backups.ini" || fail "the failure was not recorded"
exit 0
