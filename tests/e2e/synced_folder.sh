#!/bin/sh
# The real diary over a folder that another computer changes: today's entry is rewritten on disk
# while it is open, more is typed and the day changed. Both versions must stay - ours as the
# entry, theirs beside it named by its own time - and a message box must say so.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "synced_folder: $*" >&2; exit 1; }

cp "$1" "$work/quillory" || fail "cannot copy the program"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
today=$(date +%Y%m%d)
mkdir "$work/Entries"
printf '{\\rtf1\\ansi Morning}' > "$work/Entries/$today.QLE"

cat > "$work/steps.sh" <<STEPS
main=\$(xdotool search --sync --onlyvisible --name '^Quillory\$' | head -n 1)
xdotool windowfocus --sync "\$main"
sleep 0.5
# The laptop saves its own text for today, at 8:15 on 6 January 2024 by its clock.
printf '{\\\\rtf1\\\\ansi Laptop text}' > "$work/Entries/$today.QLE"
touch -d '2024-01-06 08:15' "$work/Entries/$today.QLE"
xdotool type --delay 20 "Evening "
xdotool key ctrl+Page_Down
box=""
for i in \$(seq 1 50); do
    box=\$(xdotool search --onlyvisible --name '^Quillory\$' | grep -v "^\$main\\\$" | head -n 1)
    [ -n "\$box" ] && break
    sleep 0.1
done
[ -n "\$box" ] || { echo "no message box" >&2; exit 1; }
xdotool windowfocus --sync "\$box"
sleep 0.3
xdotool key Return
sleep 0.3
xdotool windowfocus --sync "\$main"
xdotool key alt+x
STEPS

xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
    set -u
    "$1/quillory" 2> "$1/stderr.log" &
    pid=$!
    sh "$2" || { kill $pid; exit 1; }
    for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
    kill $pid; echo "the diary did not end" >&2; exit 1
' drive "$work" "$work/steps.sh" || fail "the run: $(cat "$work/stderr.log")"

kept="$work/Entries/$today (changed elsewhere 2024-01-06 0815).QLE"
[ -f "$kept" ] || fail "the other version was not kept: $(ls "$work/Entries")"
grep -q "Laptop text" "$kept" || fail "the kept version: $(cat "$kept")"
grep -q "Evening Morning" "$work/Entries/$today.QLE" || fail "our text: $(cat "$work/Entries/$today.QLE")"
exit 0
