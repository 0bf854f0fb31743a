#!/bin/sh
# quillory-cli backup and restore: a diary backed up, changed, restored byte for byte with the
# replaced one kept; damaged and hostile archives refused with the diary untouched; exit codes.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
command -v python3 >/dev/null 2>&1 || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_backup: $*" >&2; exit 1; }
snapshot() { (cd "$1" && find . -type f -exec sha256sum {} + | sort); }

diary="$work/diary"
mkdir -p "$diary/Entries"
printf '%s' '{\rtf1\ansi Sixth}' > "$diary/Entries/20261206.QLE"
printf 'QLSE\001\002\003 sealed' > "$diary/Entries/20261207.QLE"
printf '[Opening Screen]\nshow=0\n' > "$diary/QL.INI"
printf 'not an entry' > "$diary/Entries/20261206 (changed elsewhere 2026-12-07 0815).QLE"

out=$("$cli" --folder "$diary" backup "$work/backup.zip") || fail "backup failed"
[ "$out" = "2 entries and QL.INI backed up to $work/backup.zip" ] || fail "backup said: $out"
members=$(python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$work/backup.zip")
[ "$members" = "Entries/20261206.QLE Entries/20261207.QLE QL.INI" ] || fail "archive holds: $members"
[ "$(ls -A "$work")" = "$(printf 'backup.zip\ndiary')" ] || fail "left behind: $(ls -A "$work")"
original=$(snapshot "$diary")

# Changed after the backup, then restored.
printf '%s' '{\rtf1\ansi Sixth, changed}' > "$diary/Entries/20261206.QLE"
rm "$diary/Entries/20261207.QLE"
printf '%s' '{\rtf1\ansi Eighth}' > "$diary/Entries/20261208.QLE"
changed=$(snapshot "$diary")
out=$(cd "$work" && "$cli" --folder "$diary" restore backup.zip) || fail "restore failed"
case "$out" in
  "Restored 2 entries and QL.INI from $work/backup.zip; the replaced diary is kept in $diary/Diary before restore "*.zip) ;;
  *) fail "restore said: $out" ;;
esac
kept="${out#*kept in }"
[ -f "$kept" ] || fail "no kept backup at $kept"
mv "$kept" "$work/kept.zip"
[ "$(snapshot "$diary")" = "$original" ] || fail "restored diary differs"
ls -A "$diary" | grep -q -e restore -e replaced -e Restoring && fail "staging left: $(ls -A "$diary")"

# Refused archives: damaged, hostile, not a zip; the diary stays as it is.
python3 - "$work" <<'PY'
import sys, zipfile
work = sys.argv[1]
with zipfile.ZipFile(work + "/hostile.zip", "w") as z:
    z.writestr("Entries/20261206.QLE", "x")
    z.writestr("../../escaped", "x")
data = bytearray(open(work + "/backup.zip", "rb").read())
data[len(data) // 3] ^= 0x55
open(work + "/damaged.zip", "wb").write(bytes(data))
open(work + "/text.zip", "w").write("not a zip")
PY
for bad in hostile damaged text missing; do
  err=$("$cli" --folder "$diary" restore "$work/$bad.zip" 2>&1 >/dev/null)
  [ $? -eq 2 ] || fail "$bad.zip: exit status not 2"
  case "$err" in "quillory-cli: $work/$bad.zip is not a usable diary backup: "*) ;; *) fail "$bad.zip: $err" ;; esac
  [ "$(snapshot "$diary")" = "$original" ] || fail "$bad.zip changed the diary"
done
[ -e "$work/escaped" ] && fail "a hostile name escaped"

# Usage errors.
"$cli" --folder "$diary" backup 2>/dev/null; [ $? -eq 2 ] || fail "backup without a file"
"$cli" --folder "$diary" restore a.zip b.zip 2>/dev/null; [ $? -eq 2 ] || fail "restore with two files"
"$cli" --folder "$work/empty" backup "$work/x.zip" 2>/dev/null; [ $? -eq 2 ] || fail "backup of no diary"
"$cli" --folder "$diary" backup "$diary/QL.INI" 2>/dev/null; [ $? -eq 2 ] || fail "backup over QL.INI"
[ "$(snapshot "$diary")" = "$original" ] || fail "a refused backup changed the diary"

# The kept backup brings back the diary that the restore replaced.
"$cli" --folder "$diary" restore "$work/kept.zip" >/dev/null || fail "restore of the kept backup"
[ "$(snapshot "$diary" | grep -v 'Diary before restore')" = "$changed" ] || fail "changed diary not restored"
exit 0
