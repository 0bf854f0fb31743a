#!/bin/sh
# The diary started under LANG=de_DE.UTF-8 speaks German: its menus, buttons and the day's date
# as a screen reader collects them from the real window (window_texts.py over AT-SPI), with the
# translations the build put beside the program.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "german_window: $*" >&2; exit 1; }

py=/usr/bin/python3
for tool in xvfb-run dbus-run-session xdotool $py /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null 2>&1 || [ -x "$tool" ] || {
        [ -n "${CI:-}" ] && fail "$tool is missing"
        echo "german_window: $tool is missing, skipped" >&2; exit 77; }
done
"$py" -c 'import pyatspi' 2>/dev/null || {
    [ -n "${CI:-}" ] && fail "python3-pyatspi is missing"
    echo "german_window: python3-pyatspi is missing, skipped" >&2; exit 77; }
translations="$(dirname "$1")/dist-data/translations"
[ -f "$translations/quillory_de.qm" ] || fail "no German translation at $translations"

cp "$1" "$work/quillory" || fail "cannot copy the program"
cp -r "$translations" "$work/translations"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
LANG=de_DE.UTF-8 LANGUAGE= LC_ALL= LC_MESSAGES= xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" dbus-run-session -- sh -c '
    "$1/quillory" 2> "$1/stderr.log" &
    pid=$!
    xdotool search --sync --onlyvisible --name "^Quillory\$" >/dev/null
    "$3" "$2/window_texts.py" > "$1/texts.txt"
    result=$?
    kill $pid 2>/dev/null
    exit $result
' german_window "$work" "$here" "$py" 2>/dev/null || fail "could not collect the window's texts"

for wanted in "menu item	Datei" "menu item	Bearbeiten" "menu item	Suchen" "menu item	Hilfe" "menu item	Rückgängig" "menu item	Tagebuch sichern..." \
              "push button	Heute" "push button	Beenden" "check box	Fett"; do
    grep -qx "$wanted" "$work/texts.txt" || fail "no '$wanted' among: $(grep -v "list item" "$work/texts.txt" | sort -u | tr "\n" "|")"
done
# The day in German's long form, as in "Freitag, 11. Dezember 2026".
grep -Eq "^label	[A-Z][a-z]+, [0-9]{1,2}\. [A-Z][a-zä]+ [0-9]{4}\$" "$work/texts.txt" || fail "no German date: $(grep '^label' "$work/texts.txt")"
for english in "menu item	File" "menu item	Edit" "menu item	Undo" "push button	Today" "push button	Exit"; do
    grep -qx "$english" "$work/texts.txt" && fail "English left: $english"
done
echo "german_window: passed"
