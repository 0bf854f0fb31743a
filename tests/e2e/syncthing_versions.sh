#!/bin/sh
# Two Syncthing instances on the loopback address, each syncing its own copy of one diary folder.
# Today's entry is changed on both while they are paused; once they sync again, the diary on
# the first shows the other version above the page, and its Append button keeps both texts.
# Syncthing is installed by scripts/install-deps: a missing tool fails this check.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
fail() { echo "syncthing_versions: $*" >&2; exit 1; }
command -v syncthing >/dev/null || fail "syncthing is not installed (scripts/install-deps installs it)"
program="$1"
cli="$2"
work=$(mktemp -d)
[ -n "${KEEP_WORK:-}" ] && echo "work: $work" >&2
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null; done
    for p in $pids; do wait "$p" 2>/dev/null; done
    [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM  # a run stopped from outside still stops both instances

today=$(date +%Y%m%d)
iso=$(date +%Y-%m-%d)
# Free loopback ports: listening and GUI/REST for each instance.
set -- $(python3 -c '
import socket
s = [socket.socket() for _ in range(4)]
for x in s: x.bind(("127.0.0.1", 0))
print(" ".join(str(x.getsockname()[1]) for x in s))')
port_a=$1 port_b=$2 gui_a=$3 gui_b=$4
key=quillory-test-key

for side in a b; do
    mkdir -p "$work/$side/diary/.stfolder" "$work/$side/home"
    syncthing generate --home="$work/$side/home" --no-default-folder --skip-port-probing >/dev/null 2>&1 \
        || fail "syncthing generate failed"
done
id_a=$(syncthing serve --home="$work/a/home" --device-id) || fail "no device id"
id_b=$(syncthing serve --home="$work/b/home" --device-id) || fail "no device id"

# config SIDE LISTEN GUI: one folder shared by both devices, nothing but the loopback address.
config() {
    cat > "$work/$1/home/config.xml" <<XML
<configuration version="36">
    <folder id="diary" label="diary" path="$work/$1/diary" type="sendreceive" rescanIntervalS="1" fsWatcherEnabled="false">
        <device id="$id_a"></device>
        <device id="$id_b"></device>
        <minDiskFree unit="%">0</minDiskFree>
        <maxConflicts>10</maxConflicts> <!-- left out, it reads as 0: no conflict copies at all -->
    </folder>
    <device id="$id_a" name="a" compression="metadata"><address>tcp://127.0.0.1:$port_a</address></device>
    <device id="$id_b" name="b" compression="metadata"><address>tcp://127.0.0.1:$port_b</address></device>
    <gui enabled="true" tls="false"><address>127.0.0.1:$3</address><apikey>$key</apikey></gui>
    <options>
        <listenAddress>tcp://127.0.0.1:$2</listenAddress>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <reconnectionIntervalS>1</reconnectionIntervalS> <!-- after the pause, at once -->
        <urAccepted>-1</urAccepted>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <startBrowser>false</startBrowser>
        <crashReportingEnabled>false</crashReportingEnabled>
    </options>
</configuration>
XML
}
config a "$port_a" "$gui_a"
config b "$port_b" "$gui_b"

# The first computer's diary, with the program beside it (kept out of the sync).
diary_a="$work/a/diary"
diary_b="$work/b/diary"
cp "$program" "$diary_a/quillory" || fail "cannot copy the program"
printf 'quillory\nrun\n*.log\n' > "$diary_a/.stignore"
printf '[Opening Screen]\nshow=0\n' > "$diary_a/QL.INI"
mkdir -p "$diary_a/Entries"
printf '{\\rtf1\\ansi Written before the trip}' > "$diary_a/Entries/$today.QLE"

for side in a b; do
    STNORESTART=1 syncthing serve --home="$work/$side/home" --no-browser --no-upgrade >"$work/$side.log" 2>&1 &
    pids="$pids $!"
done

# api PORT METHOD PATH: a call of the REST interface; its answer on standard output.
api() {
    python3 - "$@" <<'PY'
import sys, urllib.request
port, method, path = sys.argv[1:4]
request = urllib.request.Request("http://127.0.0.1:%s%s" % (port, path), method=method,
                                 headers={"X-API-Key": "quillory-test-key"})
print(urllib.request.urlopen(request, timeout=60).read().decode())
PY
}
# until SECONDS COMMAND...: runs the command every half second until it succeeds.
until_ok() {
    limit=$(( $1 * 2 )); shift
    i=0
    while [ $i -lt $limit ]; do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.5; i=$((i + 1))
    done
    return 1
}
has_copy() { ls "$1/Entries" | grep -q "^$today\.sync-conflict-.*\.QLE$"; }

until_ok 60 cmp -s "$diary_a/Entries/$today.QLE" "$diary_b/Entries/$today.QLE" \
    || fail "the diary did not reach the second computer: $(tail -5 "$work/b.log")"

# Both computers change the day while they cannot reach each other; the second one later.
api "$gui_a" POST /rest/system/pause >/dev/null || fail "pause failed"
api "$gui_b" POST /rest/system/pause >/dev/null || fail "pause failed"
printf '{\\rtf1\\ansi Written on the desktop}' > "$diary_a/Entries/$today.QLE"
touch -d '-10 minutes' "$diary_a/Entries/$today.QLE"
printf '{\\rtf1\\ansi Written on the laptop}' > "$diary_b/Entries/$today.QLE"
api "$gui_a" POST "/rest/db/scan?folder=diary" >/dev/null || fail "scan failed"
api "$gui_b" POST "/rest/db/scan?folder=diary" >/dev/null || fail "scan failed"
api "$gui_a" POST /rest/system/resume >/dev/null || fail "resume failed"
api "$gui_b" POST /rest/system/resume >/dev/null || fail "resume failed"

until_ok 30 has_copy "$diary_a" || fail "no conflict copy on the first computer: $(ls "$diary_a/Entries"; tail -5 "$work/a.log")"
until_ok 60 has_copy "$diary_b" || fail "the conflict copy did not reach the second computer"
until_ok 60 grep -q laptop "$diary_a/Entries/$today.QLE" || fail "the newer text did not win"
for p in $pids; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
pids=""
copy=$(ls "$diary_a/Entries" | grep "^$today\.sync-conflict-")

# The command line sees the copy as the day's other version, never as a day of its own.
[ "$("$cli" --folder "$diary_a" versions | cut -f1,2)" = "$(printf '%s\t%s' "$iso" "$copy")" ] \
    || fail "versions: $("$cli" --folder "$diary_a" versions)"
"$cli" --folder "$diary_a" cat "$iso" --version "$copy" | grep -q desktop || fail "cat --version"

# The window: the bar above the page is there, and its Append button (Alt+A) keeps both texts.
mkdir -m 700 "$diary_a/run"
XDG_RUNTIME_DIR="$diary_a/run" xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
    "$1/quillory" 2> "$1/stderr.log" &
    pid=$!
    win=$(xdotool search --sync --onlyvisible --name "^Quillory\$" | head -n 1)
    [ -n "$win" ] || { echo "no window" >&2; kill $pid; exit 1; }
    xdotool windowfocus --sync "$win"
    sleep 0.5
    xdotool key alt+a
    sleep 1
    xdotool key alt+x
    for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
    kill $pid; echo "the diary did not end" >&2; exit 1
' drive "$diary_a" || fail "the window: $(cat "$diary_a/stderr.log" 2>/dev/null)"

text=$("$cli" --folder "$diary_a" cat "$iso")
case "$text" in *laptop*desktop*) ;; *) fail "append did not keep both texts: $text" ;; esac
"$cli" --folder "$diary_a" versions "$iso" >/dev/null && fail "the appended copy is still a version"
cmp -s "$diary_b/Entries/$copy" "$diary_a/Old versions/$copy" || fail "the copy was not kept in Old versions"
exit 0
