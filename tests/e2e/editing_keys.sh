#!/bin/sh
# The real diary under a virtual display, typed into with the keys of the editing commands:
# Ctrl+B, Ctrl+I and Ctrl+U around words, Ctrl+D for the date, a word taken back with Ctrl+Z,
# another taken back and brought again with Ctrl+Z and Ctrl+Y; then the saved entry is checked.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "editing_keys: $*" >&2; exit 1; }

cp "$1" "$work/quillory" || fail "cannot copy the program"
# A fixed locale, whose short date has no numeric separator: the date keeps its slashes.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
today=$(date +%Y%m%d)

cat > "$work/steps.sh" <<'STEPS'
win=$(xdotool search --sync --onlyvisible --name '^Quillory$' | head -n 1)
[ -n "$win" ] || { echo "no main window" >&2; exit 1; }
xdotool windowfocus --sync "$win"
sleep 0.5
k() { xdotool key "$@"; sleep 0.2; }
t() { xdotool type --delay 40 "$1"; sleep 0.2; }
k ctrl+b; t "Bold"; k ctrl+b; t " "
k ctrl+i; t "slanted"; k ctrl+i; t " "
k ctrl+u; t "lined"; k ctrl+u; t " "
k ctrl+d
t "oops"; k ctrl+z
t "fine"; k ctrl+z; k ctrl+y
k alt+x
STEPS

xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
    "$1/quillory" 2> "$1/stderr.log" &
    pid=$!
    . "$1/steps.sh"
    for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
    kill $pid; echo "the diary did not end" >&2; exit 1
' drive "$work" || fail "the run: $(cat "$work/stderr.log")"

entry="$work/Entries/$today.QLE"
[ -f "$entry" ] || fail "today's entry was not written"
text=$("$2" convert --to text "$entry" -) || fail "the entry does not convert"
expected="Bold slanted lined $(date +%m/%d/%Y) fine"
[ "$(printf '%s' "$text" | tr -d '\r\n')" = "$expected" ] || fail "text '$text', expected '$expected'"
# Each word carries its style and only its own: the style is switched on before it and off after.
rtf=$(tr -d '\r\n' < "$entry")
for pair in 'b:Bold' 'i:slanted' 'ul:lined'; do
    style=${pair%%:*}; word=${pair#*:}
    printf '%s' "$rtf" | grep -Eq "\\\\$style( |\\\\[^{}]* )$word" || fail "$word is not $style: $rtf"
    printf '%s' "$rtf" | grep -Eq "$word(\\\\${style}0|\\\\plain|}| *\\\\plain)" || fail "$style does not end after $word: $rtf"
done
exit 0
