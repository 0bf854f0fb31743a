#!/bin/sh
# The real diary under a virtual display with its icon libraries: the palette shown beside the
# main window as the settings say, an icon dragged with the mouse from the palette onto the
# entry, the window closed, and the entry checked for the picture and the settings for the
# palette. With QUILLORY_SCREENSHOT set, a picture of the screen is saved there.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "icon_palette: $*" >&2; exit 1; }

cp "$1" "$work/quillory" || fail "cannot copy the program"
data="$(dirname "$1")/dist-data"
[ -f "$data/icons/misc1.icl" ] || fail "no icon libraries in $data"
cp -r "$data/icons" "$data/BonusIcons" "$work/" || fail "cannot copy the icon libraries"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n[Icons]\nFile=icons/misc1.icl\nVisible=1\nLeft=700\nTop=120\n[TMainScreen_Placement]\nLeft=20\nTop=20\nRight=680\nBottom=600\n' > "$work/QL.INI"
today=$(date +%Y%m%d)

cat > "$work/steps.sh" <<STEPS
set -u
palette=\$(xdotool search --sync --onlyvisible --name '^Icons\$' | head -n 1)
main=\$(xdotool search --sync --onlyvisible --name '^Quillory\$' | head -n 1)
[ -n "\$palette" ] && [ -n "\$main" ] || { echo "the windows did not appear" >&2; exit 1; }
sleep 1
xdotool windowfocus --sync "\$main"
xdotool type --delay 20 "Weather: "
eval \$(xdotool getwindowgeometry --shell "\$palette")
px=\$((X + 4 + 19)); py=\$((Y + 45))
eval \$(xdotool getwindowgeometry --shell "\$main")
mx=\$((X + WIDTH / 2)); my=\$((Y + HEIGHT / 2))
xdotool mousemove \$px \$py mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove \$((px + (mx - px) * step / 10)) \$((py + (my - py) * step / 10)); sleep 0.05
done
sleep 0.3
xdotool mouseup 1
sleep 0.5
if [ -n "${QUILLORY_SCREENSHOT:-}" ]; then import -window root "${QUILLORY_SCREENSHOT:-}"; fi
xdotool windowfocus --sync "\$main"
xdotool key alt+x
STEPS

xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
    "$1/quillory" 2> "$1/stderr.log" &
    pid=$!
    sh "$1/steps.sh" || { kill $pid; exit 1; }
    for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
    kill $pid; echo "the diary did not end" >&2; exit 1
' drive "$work" || fail "run: $(cat "$work/stderr.log")"

entry="$work/Entries/$today.QLE"
[ -f "$entry" ] || fail "today's entry was not written"
grep -q 'Weather: ' "$entry" || fail "the typed text is missing: $(head -c 300 "$entry")"
grep -q '\\pict' "$entry" || fail "no picture in the entry: $(head -c 300 "$entry")"
grep -q '^File=icons/misc1.icl' "$work/QL.INI" || fail "the library was not kept: $(cat "$work/QL.INI")"
grep -q '^Visible=1' "$work/QL.INI" || fail "the palette's visibility was not kept"
exit 0
