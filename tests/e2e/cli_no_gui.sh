#!/bin/sh
# quillory-cli's commands that paint nothing start without Qt's GUI: each one succeeds where no
# Qt GUI application could start (an unknown display platform, no display) and loads neither
# QtGui, QtWidgets, QtPrintSupport nor libzip. The commands that paint go to the full part beside
# quillory-cli, and a copy without that part says so instead of failing obscurely.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
cli="$2"
dictionary="$(dirname "$cli")/dist-data/quillor.dct"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cli_no_gui: $*" >&2; exit 1; }

diary="$work/diary"
mkdir -p "$diary/Entries"
printf '{\\rtf1\\ansi Dear diary, a walk by the river.\\par}' > "$diary/Entries/20240310.QLE"
printf '{\\rtf1\\ansi word}' > "$work/in.rtf"
printf 'Str0ng\n' > "$work/strong"
[ -f "$dictionary" ] || fail "no dictionary built at $dictionary"
# The main dictionary is data the program ships, read beside a portable copy of the program.
mkdir "$work/program"
cp "$dictionary" "$work/program/quillor.dct"
cp "$cli" "$work/program/quillory-cli"

# A statically linked quillory-cli loads no library at all, so the loader has nothing to record:
# what it could load is what it names, and it names none.
static=false
if ! readelf -l "$cli" | grep -q INTERP; then
    static=true
    readelf -d "$cli" 2>/dev/null | grep -q NEEDED && fail "a static quillory-cli names shared libraries"
fi

# Runs a command where a GUI application cannot start and records the libraries it loads.
bare() {
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=nonexistent LD_DEBUG=files \
        LD_DEBUG_OUTPUT="$work/loaded" "$cli" --folder "$diary" "$@"
}
check() {
    rm -f "$work"/loaded.*
    bare "$@" > "$work/out" 2> "$work/err" || fail "'$*' failed without a display: $(cat "$work/err")"
    if grep -h "file=libQt6\(Gui\|Widgets\|PrintSupport\)" "$work"/loaded.* >/dev/null 2>&1; then
        fail "'$*' loaded Qt's GUI libraries: $(grep -ho 'file=libQt6[A-Za-z]*' "$work"/loaded.* | sort -u | tr '\n' ' ')"
    fi
    grep -h "file=libzip" "$work"/loaded.* >/dev/null 2>&1 && fail "'$*' loaded libzip"
    $static || ls "$work"/loaded.* >/dev/null 2>&1 || fail "no record of the libraries '$*' loaded"
}

for format in text rtf html; do
    check convert --to $format "$work/in.rtf" "$work/out.$format"
done
grep -q word "$work/out.text" || fail "text conversion: $(cat "$work/out.text")"
check days 2024-03
[ "$(cat "$work/out")" = "2024-03-10" ] || fail "days: $(cat "$work/out")"
check cat 2024-03-10
check search river
[ "$(cat "$work/out")" = "2024-03-10" ] || fail "search: $(cat "$work/out")"
for format in rtf text html; do
    check export --format $format "$work/export-$format"
done
printf 'Teh river' > "$work/spell.txt"
built="$cli"; cli="$work/program/quillory-cli"
check spell "$work/spell.txt"
cli="$built"
[ "$(cat "$work/out")" = "Teh" ] || fail "spell: $(cat "$work/out")"
check crypt --encrypt --password secret "$work/in.rtf" "$work/in.enc"
check crypt --decrypt --password secret "$work/in.enc" "$work/in.dec"
cmp -s "$work/in.rtf" "$work/in.dec" || fail "crypt round trip"
check password set --password-file "$work/strong"
check password clear --old-password-file "$work/strong"

# A copy of quillory-cli without its full part: PDF output is refused with a clear error,
# and nothing is written; the other commands work as ever.
mkdir "$work/lone"
cp "$cli" "$work/lone/quillory-cli"
"$work/lone/quillory-cli" --folder "$diary" convert --to text "$work/in.rtf" - | grep -q word \
    || fail "a lone quillory-cli cannot convert to text"
for command in "convert --to pdf $work/in.rtf $work/out.pdf" "print --pdf $work/out.pdf" \
               "export --format pdf $work/pdfs"; do
    # shellcheck disable=SC2086
    err=$("$work/lone/quillory-cli" --folder "$diary" $command 2>&1)
    [ $? -eq 2 ] || fail "'$command' without the full part: not exit 2"
    case "$err" in *quillory-cli-full*"missing"*) ;; *) fail "'$command': unclear error: $err" ;; esac
    [ -e "$work/out.pdf" ] || [ -e "$work/pdfs" ] && fail "'$command' wrote output without the full part"
done
exit 0
