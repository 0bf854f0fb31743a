#!/bin/sh
# A person who starts typing the moment the diary's window shows loses nothing: the window takes
# the keyboard itself as it appears (no window manager here gives it), the day's entry is loaded
# before it shows, and the first words land where the caret stands. Keys are sent as soon as
# `xdotool search --sync` sees the window, with no focusing step and no pause.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "typing_at_start: $tool missing" >&2; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "typing_at_start: $*" >&2; exit 1; }

cp "$1" "$work/quillory" || fail "cannot copy the program"
cli="$2"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
today=$(date +%Y%m%d)

# Types at once into a fresh start of the diary, then leaves with Alt+X.
type_at_start() {
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
        "$1/quillory" 2> "$1/stderr.log" &
        pid=$!
        xdotool search --sync --onlyvisible --name "^Quillory\$" >/dev/null
        xdotool type --delay 15 "$2"
        sleep 0.3
        xdotool key alt+x
        for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
        kill $pid; echo "the diary did not end" >&2; exit 1
    ' type "$work" "$1"
}

# A day without an entry, then the same day with its entry: the typed words come first.
type_at_start "Hello from the diary" || fail "first run: $(cat "$work/stderr.log")"
[ -f "$work/Entries/$today.QLE" ] || fail "nothing typed reached the page"
text=$("$cli" --folder "$work" export --format text --from "$today" --until "$today" "$work/out" >/dev/null \
       && cat "$work/out/$today.txt") || fail "cannot read today's entry back"
[ "$text" = "Hello from the diary" ] || fail "typed at once, the page holds: '$text'"

type_at_start "First words. " || fail "second run: $(cat "$work/stderr.log")"
rm -rf "$work/out"
text=$("$cli" --folder "$work" export --format text --from "$today" --until "$today" "$work/out" >/dev/null \
       && cat "$work/out/$today.txt") || fail "cannot read today's entry back"
[ "$text" = "First words. Hello from the diary" ] || fail "typed at once into an entry, the page holds: '$text'"
exit 0
