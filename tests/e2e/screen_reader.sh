#!/bin/sh
# The diary through a real screen reader's eyes: the program under a virtual display with its own
# session bus and accessibility bus, and an AT-SPI client (screen_reader.py) that reads the entry,
# the caret and the names of the buttons, moves the caret and hears typing.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "screen_reader: $*" >&2; exit 1; }

# Under CI every tool must be there: a missing one is a failure, not a skip.
# Debian's own Python: the AT-SPI bindings are its packages.
py=/usr/bin/python3
for tool in xvfb-run dbus-run-session xdotool $py /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null 2>&1 || [ -x "$tool" ] || {
        [ -n "${CI:-}" ] && fail "$tool is missing"
        echo "screen_reader: $tool is missing, skipped" >&2; exit 77; }
done
"$py" -c 'import pyatspi' 2>/dev/null || {
    [ -n "${CI:-}" ] && fail "python3-pyatspi is missing"
    echo "screen_reader: python3-pyatspi is missing, skipped" >&2; exit 77; }

cp "$1" "$work/quillory" || fail "cannot copy the program"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
mkdir "$work/Entries"
today=$(date +%Y%m%d)
text="Dear diary, today was long"
printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 %s}' "$text" > "$work/Entries/$today.QLE"

# The names a screen reader must find: the toolbar's icons, lists and buttons, and the command
# buttons below the page.
cat > "$work/names.txt" <<'NAMES'
Bold
Italic
Underline
Left Justified
Centered
Copy
Cut
Paste
Find
Spell Check
Delete current entry
Print diary entries
Calendar
First
Prev
Today
Next
Last
Exit
NAMES

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" dbus-run-session -- sh -c '
    set -u
    "$1/quillory" 2> "$1/stderr.log" &
    pid=$!
    win=$(xdotool search --sync --onlyvisible --name "^Quillory\$" | head -n 1)
    xdotool windowfocus --sync "$win"
    # The caret goes to the end of the entry, where the reader expects it.
    xdotool key ctrl+End
    sleep 0.5
    "$4" "$2/screen_reader.py" "$3" "$1/names.txt"
    result=$?
    kill $pid 2>/dev/null
    exit $result
' screen_reader "$work" "$here" "$text" "$py" || fail "the screen reader's checks failed: $(cat "$work/stderr.log" 2>/dev/null | tail -5)"
echo "screen_reader: passed"
