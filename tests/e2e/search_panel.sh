#!/bin/sh
# The search panel in the real window under Xvfb: Ctrl+Shift+F, a query typed into the field, the
# arrow key to the second day listed, Enter; the match is then selected on that day's page, so
# the next key typed replaces it, and the entry saved on leaving shows where it went.
# SEARCH_PANEL_SCREENSHOT=FILE keeps a picture of the screen with the panel filled.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "search_panel: $tool missing" >&2; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "search_panel: $*" >&2; exit 1; }

cp "$1" "$work/quillory" || fail "cannot copy the program"
cli="$2"
mkdir -m 700 "$work/run" "$work/Entries"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
printf '{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 A walk by the river with #friends.\\par The caf\\'"'"'e9 was closed.\\par}' \
    > "$work/Entries/20240310.QLE"
printf 'Rain all day.\r\nThe river rose; we stayed in the cafe.\r\nTea at four, by the river again.\r\n' \
    > "$work/Entries/20230702.QLE"
printf 'Nothing to tell.\r\n' > "$work/Entries/20220101.QLE"
shot="${SEARCH_PANEL_SCREENSHOT:-}"

xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
    "$1/quillory" 2> "$1/stderr.log" &
    pid=$!
    xdotool search --sync --onlyvisible --name "^Quillory\$" >/dev/null
    sleep 0.5
    xdotool key ctrl+shift+f
    sleep 0.3
    xdotool type --delay 40 "river cafe"
    sleep 0.5
    [ -n "$2" ] && import -window root "$2"
    xdotool key Down Down Return
    sleep 0.3
    xdotool type --delay 40 "creek"
    sleep 0.3
    xdotool key alt+x
    for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
    kill $pid; echo "the diary did not end" >&2; exit 1
' run "$work" "$shot" || fail "the window: $(cat "$work/stderr.log")"

"$cli" --folder "$work" export --format text --from 2023-07-02 --until 2023-07-02 "$work/out" >/dev/null \
    || fail "cannot read the entry back"
text=$(tr -d '\r' < "$work/out/20230702.txt")
expected=$(printf 'Rain all day.\nThe creek rose; we stayed in the cafe.\nTea at four, by the river again.')
[ "$text" = "$expected" ] || fail "the second day listed holds: '$text'"
"$cli" --folder "$work" search river >/dev/null || fail "the other day lost its river"
exit 0
