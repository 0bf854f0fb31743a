#!/bin/sh
# An installed copy: `cmake --install` into a temporary prefix puts the programs, their data,
# the desktop entry, the icon, the AppStream metadata and the manual page in place, each valid
# for the desktop's own tools. Started from there with a home of its own, the diary lands in
# $XDG_DATA_HOME/quillory (or the "Diary folder" setting's folder, or --folder's), never in the
# prefix; two diaries can be open at once under a virtual display.
# Arguments: the quillory executable, the quillory-cli executable (in the build folder).
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "install: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli groff man; do
    command -v $tool >/dev/null || fail "$tool is not installed (scripts/install-deps)"
done

build=$(dirname "$1")
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "install: $(cat "$work/install.log")"

for file in bin/quillory bin/quillory-cli bin/quillory-cli-full share/quillory/quillor.dct share/quillory/help/01-getting-started.html \
            share/quillory/icons/misc1.icl share/applications/org.quillory.Quillory.desktop \
            share/metainfo/org.quillory.Quillory.metainfo.xml share/icons/hicolor/scalable/apps/quillory.svg \
            share/man/man1/quillory-cli.1.gz; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/quillory.png"
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $(identify -format '%wx%h' "$png")"
done
ls "$prefix/bin" | grep -qv '^quillory' && fail "stray files in bin: $(ls "$prefix/bin")"
[ -e "$prefix/share/quillory/Entries" ] || [ -e "$prefix/share/quillory/QL.INI" ] && fail "a diary was installed"

desktop-file-validate "$prefix/share/applications/org.quillory.Quillory.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/org.quillory.Quillory.metainfo.xml" >"$work/as.log" 2>&1 \
    || fail "AppStream metadata: $(cat "$work/as.log")"
zcat "$prefix/share/man/man1/quillory-cli.1.gz" > "$work/quillory-cli.1"
groff -man -Tutf8 -ww "$work/quillory-cli.1" >/dev/null 2>"$work/groff.log"
[ -s "$work/groff.log" ] && fail "manual page: $(cat "$work/groff.log")"
MANWIDTH=80 man -l "$prefix/share/man/man1/quillory-cli.1.gz" 2>/dev/null | grep -q 'quillory-cli \[--folder DIR\] COMMAND' \
    || fail "the manual page does not show its synopsis"

# A home of its own: nothing here is the user's.
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
cli="$prefix/bin/quillory-cli"
find "$prefix" | sort > "$work/before"
diary="$XDG_DATA_HOME/quillory"
today=$(date +%Y%m%d)

# The command line makes the diary folder on first use, private to the user.
"$cli" days >/dev/null 2>"$work/err"; [ $? -le 1 ] || fail "days in a new diary: $(cat "$work/err")"
[ -d "$diary" ] || fail "the diary folder was not made"
[ "$(stat -c %a "$diary")" = 700 ] || fail "the diary folder is open to others: $(stat -c %a "$diary")"
# The main dictionary comes from share/quillory: a misspelt word is found.
printf 'The diary knows wrods.\n' > "$work/words.txt"
[ "$("$cli" spell "$work/words.txt")" = wrods ] || fail "spell with the installed dictionary"
# PDF output is made by the full part installed beside the command line.
printf '{\\rtf1\\ansi Installed.}' > "$work/small.rtf"
QT_QPA_PLATFORM=offscreen "$cli" convert --to pdf "$work/small.rtf" "$work/small.pdf" 2>"$work/err" \
    || fail "the installed copy makes no PDF: $(cat "$work/err")"
[ "$(head -c 5 "$work/small.pdf")" = "%PDF-" ] || fail "the installed copy's PDF is not one"

# The window writes today's entry into the diary folder.
printf '[Opening Screen]\nshow=0\n' > "$diary/QL.INI"
mkdir -p "$work/synced"
printf '[Opening Screen]\nshow=0\n' > "$work/synced/QL.INI"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
    set -u
    "$1/bin/quillory" 2> "$2/first.log" &
    first=$!
    win=$(xdotool search --sync --onlyvisible --name "^Quillory\$" | head -n 1)
    [ -n "$win" ] || { echo "no window" >&2; exit 1; }
    # A second diary opens beside the first (one diary twice is refused: InstanceLockTest).
    "$1/bin/quillory" --folder "$2/synced" 2> "$2/second.log" &
    second=$!
    for i in $(seq 1 100); do
        [ "$(xdotool search --onlyvisible --name "^Quillory\$" | wc -l)" -ge 2 ] && break
        sleep 0.1
    done
    [ "$(xdotool search --onlyvisible --name "^Quillory\$" | wc -l)" -ge 2 ] || { echo "the second diary did not open" >&2; exit 1; }
    kill $second
    xdotool windowfocus --sync "$win"
    sleep 0.5
    xdotool type --delay 20 "Installed and kept at home"
    xdotool key alt+x
    for i in $(seq 1 100); do kill -0 $first 2>/dev/null || exit 0; sleep 0.1; done
    kill $first; echo "the diary did not end" >&2; exit 1
' drive "$prefix" "$work" || fail "the window: $(cat "$work/first.log" "$work/second.log" 2>/dev/null)"
grep -q "Installed and kept at home" "$diary/Entries/$today.QLE" || fail "today's entry is not in the diary folder"
case "$("$cli" cat "$today")" in *"Installed and kept at home"*) ;; *) fail "the command line does not read it" ;; esac

# The "Diary folder" setting moves the diary; --folder overrides it; a missing one is refused.
mkdir -p "$XDG_CONFIG_HOME/quillory" "$work/synced/Entries"
printf '{\\rtf1\\ansi synced}' > "$work/synced/Entries/20240105.QLE"
printf '[Diary]\nFolder=%s\n' "$work/synced" > "$XDG_CONFIG_HOME/quillory/quillory.ini"
[ "$("$cli" days 2024-01)" = 2024-01-05 ] || fail "days with the setting: $("$cli" days 2024-01)"
"$cli" --folder "$diary" cat "$today" >/dev/null || fail "--folder over the setting"
printf '[Diary]\nFolder=%s\n' "$work/unmounted" > "$XDG_CONFIG_HOME/quillory/quillory.ini"
"$cli" days 2>/dev/null; [ $? = 2 ] || fail "a missing diary folder was not refused"
[ -e "$work/unmounted" ] && fail "a missing diary folder was made"

find "$prefix" | sort > "$work/after"
cmp -s "$work/before" "$work/after" || fail "the prefix changed: $(diff "$work/before" "$work/after")"
exit 0
