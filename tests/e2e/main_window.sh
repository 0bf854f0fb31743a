#!/bin/sh
# The real diary under a virtual display: text typed into today's entry and tomorrow's, the day
# changed with Ctrl+Page Down, the window closed with its Exit button, and the entry files checked;
# then a start with a password, passed by typing it into the opening dialog; then an entry that
# cannot be read, which no key and no day change may delete.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "main_window: $*" >&2; exit 1; }

# The program folder is the executable's folder: the diary gets a copy of its own.
cp "$1" "$work/quillory" || fail "cannot copy the program"
cli="$2"
# The single-instance lock lives in the runtime folder: one of our own, so that no other
# diary running on this machine counts as this one.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"

today=$(date +%Y%m%d)
tomorrow=$(date -d tomorrow +%Y%m%d)

# Runs the steps of $1 (a shell function body in a file) against the program on a fresh display.
drive() {
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
        set -u
        "$1/quillory" 2> "$1/stderr.log" &
        pid=$!
        . "$2"
        for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
        kill $pid; echo "the diary did not end" >&2; exit 1
    ' drive "$work" "$1"
}

# Waits for a window with exactly this title and gives it the keyboard.
cat > "$work/lib.sh" <<'LIB'
focus() {
    win=$(xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    [ -n "$win" ] || { echo "no window '$1'" >&2; exit 1; }
    xdotool windowfocus --sync "$win"
    sleep 0.5
}
LIB

cat > "$work/first.sh" <<STEPS
. "$work/lib.sh"
focus Quillory
xdotool type --delay 20 "Hello from the diary"
xdotool key ctrl+Page_Down
sleep 0.3
xdotool type --delay 20 "Tomorrow"
xdotool key alt+x
STEPS
drive "$work/first.sh" || fail "first run: $(cat "$work/stderr.log")"

[ -f "$work/Entries/$today.QLE" ] || fail "today's entry was not written"
[ -f "$work/Entries/$tomorrow.QLE" ] || fail "tomorrow's entry was not written on exit"
grep -q "Hello from the diary" "$work/Entries/$today.QLE" || fail "today's text: $(cat "$work/Entries/$today.QLE")"
grep -q "Tomorrow" "$work/Entries/$tomorrow.QLE" || fail "tomorrow's text: $(cat "$work/Entries/$tomorrow.QLE")"
head -c 5 "$work/Entries/$today.QLE" | grep -q '{\\rtf' || fail "today's entry is not RTF"
grep -q 'TMainScreen_Placement' "$work/QL.INI" || fail "the placement was not stored"

# The diary gets the password "Secret": entries enciphered, QL.INI holding it scrambled.
for day in "$today" "$tomorrow"; do
    "$cli" crypt --encrypt --password Secret "$work/Entries/$day.QLE" "$work/$day.tmp" || fail "encipher $day"
    mv "$work/$day.tmp" "$work/Entries/$day.QLE"
done
printf '[Opening Screen]\nshow=0\n[Security]\nPassword=\261\317\301\334\303\336\n' > "$work/QL.INI"

cat > "$work/second.sh" <<STEPS
. "$work/lib.sh"
focus "Quillory! - Password Required"
xdotool type --delay 20 "Secret"
xdotool key Return
focus Quillory
xdotool key ctrl+End
xdotool type --delay 20 " again"
xdotool key alt+x
STEPS
drive "$work/second.sh" || fail "second run: $(cat "$work/stderr.log")"

out=$("$cli" --folder "$work" cat "$today") || fail "today's entry does not open with the password"
case "$out" in *"Hello from the diary again"*) ;; *) fail "today's text after the password run: $out" ;; esac
head -c 5 "$work/Entries/$today.QLE" | grep -q '{\\rtf' && fail "today's entry was stored in plain"
ls "$work" | grep -qi '^eraseme\.rtf$' && fail "a plain copy was left in the program folder"

# An entry that opens but cannot be read: the error is dismissed, Tab is pressed on its
# read-only page and the day is changed. The entry must be left as it was, not deleted.
rm -rf "$work/Entries"
mkdir "$work/Entries"
ln -s /proc/self/mem "$work/Entries/$today.QLE"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
cat > "$work/third.sh" <<STEPS
. "$work/lib.sh"
focus Quillory
xdotool key Return
sleep 0.5
focus Quillory
xdotool key Tab
xdotool key ctrl+Page_Down
sleep 0.3
xdotool type --delay 20 "Tomorrow"
xdotool key alt+x
STEPS
drive "$work/third.sh" || fail "third run: $(cat "$work/stderr.log")"
[ -L "$work/Entries/$today.QLE" ] || fail "the unreadable entry was deleted or replaced"
[ "$(readlink "$work/Entries/$today.QLE")" = /proc/self/mem ] || fail "the unreadable entry was changed"
grep -q "Tomorrow" "$work/Entries/$tomorrow.QLE" || fail "the keys did not reach the diary after the error"
exit 0
