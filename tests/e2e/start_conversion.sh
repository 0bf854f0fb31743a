#!/bin/sh
# The real diary started over an old single-table diary under a virtual display: answering No
# ends the start and leaves no Entries folder; answering Yes converts it, says so, and opens
# the diary, which then finds the converted entries.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "start_conversion: $*" >&2; exit 1; }
data="$(dirname "$0")/../data/legacy/diary"

cp "$1" "$work/quillory" || fail "cannot copy the program"
cli="$2"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
cp "$data/QUILLOR.DBF" "$data/QUILLOR.FPT" "$work/"

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

# No: the program ends at once, touching nothing.
cat > "$work/refuse.sh" <<STEPS
. "$work/lib.sh"
focus Confirm
xdotool key Escape
focus Information
xdotool key Return
STEPS
drive "$work/refuse.sh" || fail "refusing run: $(cat "$work/stderr.log")"
[ ! -e "$work/Entries" ] || fail "No made an Entries folder"

# Yes: converted, announced, and the diary opens.
cat > "$work/accept.sh" <<STEPS
. "$work/lib.sh"
focus Confirm
xdotool key Return
focus Information
xdotool key Return
focus Quillory
xdotool key alt+x
STEPS
drive "$work/accept.sh" || fail "converting run: $(cat "$work/stderr.log")"
[ "$(ls "$work/Entries" | grep -c '\.QLE$')" -eq 6 ] || fail "entries: $(ls "$work/Entries")"
[ "$("$cli" --folder "$work" cat 20240101)" = "New Year, written again" ] || fail "the later record did not win"
[ ! -e "$work/Entries.convert" ] || fail "the staging folder stayed"
cmp -s "$work/QUILLOR.DBF" "$data/QUILLOR.DBF" || fail "the table changed"
exit 0
