#!/bin/sh
# quillory-cli versions, cat --version and resolve on a diary holding sync tools' conflict copies,
# and a strong password set over them: each copy renamed to its day's name still opens.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
diary="$work/diary"
mkdir -p "$diary/Entries"
fail() { echo "cli_versions: $*" >&2; exit 1; }
q() { "$cli" --folder "$diary" "$@"; }

mine='{\rtf1\ansi Mine}'
there='{\rtf1\ansi Written there}'
dropbox='{\rtf1\ansi Dropbox copy}'
printf '%s' "$mine" > "$diary/Entries/20240101.QLE"
st="20240101.sync-conflict-20261211-031500-ABCDEFG.QLE"
db="20240101 (Alice's conflicted copy 2026-12-11).QLE"
printf '%s' "$there" > "$diary/Entries/$st"
printf '%s' "$dropbox" > "$diary/Entries/$db"
printf '%s' "$there" > "$diary/Entries/20240105 copy.QLE"
touch -d '2026-12-11 03:15' "$diary/Entries/$st"
touch -d '2026-12-11 04:20' "$diary/Entries/$db"

# Listing: one line per version, oldest first; the near miss is no version; no entry of its own.
out=$(q versions) || fail "versions failed"
expected=$(printf '2024-01-01\t%s\t2026-12-11 03:15\n2024-01-01\t%s\t2026-12-11 04:20' "$st" "$db")
[ "$out" = "$expected" ] || fail "versions: got '$out'"
[ "$(q versions 20240101 | wc -l)" = 2 ] || fail "versions of the day"
q versions 2024-01-02 >/dev/null; [ $? = 1 ] || fail "a day without versions is not exit 1"
q versions 2024-13-01 2>/dev/null; [ $? = 2 ] || fail "a wrong day is not exit 2"
[ "$(q days 2024-01)" = "2024-01-01" ] || fail "a version counted as a day"

[ "$(q cat 2024-01-01 --version "$st")" = "$there" ] || fail "cat --version"
q cat 2024-01-02 --version "$st" 2>/dev/null && fail "a version of another day printed"

# A strong password over the copies: re-keyed with the day's key, so each opens as a version
# and, renamed to the day's own name, as the entry.
printf 'Str0ng pass\n' > "$work/pw"
q password set --password-file "$work/pw" </dev/null || fail "password set failed"
[ "$(q cat 2024-01-01 --version "$st" --password-file "$work/pw")" = "$there" ] || fail "sealed version"
cp -p "$diary/Entries/20240101.QLE" "$work/mine.sealed"
cp -p "$diary/Entries/$db" "$diary/Entries/20240101.QLE"
[ "$(q cat 2024-01-01 --password-file "$work/pw")" = "$dropbox" ] || fail "renamed copy does not open"
cp -p "$work/mine.sealed" "$diary/Entries/20240101.QLE"

# Append: both texts in the entry, the version moved whole into Old versions.
q resolve 2024-01-01 --append "$st" --password-file "$work/pw" 2>/dev/null || fail "append failed"
text=$(q cat 2024-01-01 --password-file "$work/pw")
case "$text" in *Mine*Written\ there*) ;; *) fail "append lost a text: $text" ;; esac
[ -f "$diary/Old versions/$st" ] || fail "appended version not kept"
[ -f "$diary/Entries/$st" ] && fail "appended version still listed"

# Use: the copy becomes the entry; mine is kept as a version of the day.
q resolve 2024-01-01 --use "$db" --password-file "$work/pw" 2>/dev/null || fail "use failed"
[ "$(q cat 2024-01-01 --password-file "$work/pw")" = "$dropbox" ] || fail "use"
kept=$(q versions 2024-01-01 | cut -f2)
case "$kept" in "20240101 (replaced here "*) ;; *) fail "mine not kept as a version: $kept" ;; esac
case "$(q cat 2024-01-01 --version "$kept" --password-file "$work/pw")" in
  *Mine*Written\ there*) ;; *) fail "kept version lost its text" ;; esac

# Dismiss: gone from the day, kept whole in Old versions; unknown names are errors.
cp "$diary/Entries/$kept" "$work/kept.bytes"
q resolve 2024-01-01 --dismiss "$kept" 2>/dev/null || fail "dismiss failed"
cmp -s "$work/kept.bytes" "$diary/Old versions/$kept" || fail "dismissed version not kept whole"
q versions 2024-01-01 >/dev/null; [ $? = 1 ] || fail "dismissed version still listed"
q resolve 2024-01-01 --dismiss "nothing.QLE" 2>/dev/null; [ $? = 2 ] || fail "unknown version not exit 2"
q resolve 2024-01-01 --use 2>/dev/null; [ $? = 2 ] || fail "--use without a file not exit 2"
q resolve 2024-01-01 --append --password-file "$work/pw" 2>/dev/null; [ $? = 1 ] || fail "--append with no versions not exit 1"
exit 0
