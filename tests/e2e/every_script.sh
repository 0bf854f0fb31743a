#!/bin/sh
# Text of every script in the real diary under a virtual display: Polish, Russian, Greek and an
# emoji typed with the keyboard, and three lines in several scripts pasted from another program's
# clipboard, kept in today's entry; after a restart the text is all there and more is added.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
work=$(mktemp -d)
trap 'kill $clipboard 2>/dev/null; rm -rf "$work"' EXIT
clipboard=""
fail() { echo "every_script: $*" >&2; exit 1; }
for tool in xvfb-run xdotool xclip; do
    command -v $tool >/dev/null || { echo "every_script: $tool is missing" >&2; exit 77; }
done

cp "$1" "$work/quillory" || fail "cannot copy the program"
cli="$2"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
today=$(date +%Y%m%d)

typed="Polish: Zażółć. Russian: Жук. Greek: Ελλάδα. Emoji: 😀"
pasted="First line
Zażółć and Жук, שלום, 你好
Last line"
added=" Ещё раз ✓"

# Letters outside the keyboard map are typed through a key that xdotool maps anew for each one; a
# slower pace lets the program read each key before its mapping changes, also on a busy machine.
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

cat > "$work/lib.sh" <<'LIB'
focus() {
    win=$(xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    [ -n "$win" ] || { echo "no window '$1'" >&2; exit 1; }
    xdotool windowfocus --sync "$win"
    sleep 0.5
}
LIB
printf '%s' "$pasted" > "$work/pasted.txt"

# First run: type, then paste what another program put on the clipboard.
cat > "$work/first.sh" <<STEPS
. "$work/lib.sh"
focus Quillory
xdotool type --delay 150 "$typed"
xdotool key Return
xclip -selection clipboard -i "$work/pasted.txt" &
sleep 0.5
xdotool key ctrl+v
sleep 0.3
xdotool key alt+x
STEPS
drive "$work/first.sh" || fail "first run: $(cat "$work/stderr.log")"
[ -f "$work/Entries/$today.QLE" ] || fail "today's entry was not written"

out=$("$cli" convert --to text "$work/Entries/$today.QLE" -) || fail "today's entry does not read"
case "$out" in *"$typed"*) ;; *) fail "the typed text is not kept: $out" ;; esac
case "$out" in *"$pasted"*) ;; *) fail "the pasted lines are not kept: $out" ;; esac
# Written for older readers too: what cp1252 lacks as \u with a fallback.
grep -q '\\u1046?' "$work/Entries/$today.QLE" || fail "Ж is not written as \\u1046?"

# Second run: the text reads back after the restart, and more is typed after it.
cat > "$work/second.sh" <<STEPS
. "$work/lib.sh"
focus Quillory
xdotool key ctrl+End
xdotool type --delay 150 "$added"
xdotool key alt+x
STEPS
drive "$work/second.sh" || fail "second run: $(cat "$work/stderr.log")"
out=$("$cli" convert --to text "$work/Entries/$today.QLE" -) || fail "today's entry does not read after the restart"
case "$out" in *"$typed"*) ;; *) fail "the typed text was lost in the restart: $out" ;; esac
case "$out" in *"Last line$added"*) ;; *) fail "the text typed after the restart: $out" ;; esac
exit 0
