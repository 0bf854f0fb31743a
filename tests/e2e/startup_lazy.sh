#!/bin/sh
# What the start leaves until it is needed: a diary whose entries name no symbol font starts and
# paints its window without reading the symbol fonts or loading the print or image plug-ins; an entry
# naming Wingdings makes it read the fonts before showing it.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
command -v strace >/dev/null 2>&1 || { echo "startup_lazy: strace missing" >&2; exit 77; }
[ -d /usr/share/wine/fonts ] || { echo "startup_lazy: no symbol fonts installed" >&2; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "startup_lazy: $*" >&2; exit 1; }

cp "$1" "$work/quillory" || fail "cannot copy the program"
mkdir -m 700 "$work/run"
mkdir "$work/Entries"
printf '[Opening Screen]\nshow=0\n' > "$work/QL.INI"
today=$(date +%Y%m%d)
printf '%s' '{\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 An ordinary day.\par}' > "$work/Entries/$today.QLE"

start() {
    rm -f "$work"/loaded.*
    QUILLORY_QUIT_AFTER_FIRST_PAINT=1 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" \
        LD_DEBUG=files LD_DEBUG_OUTPUT="$work/loaded" strace -f -e trace=openat,open,rename -o "$work/trace" "$work/quillory" 2>"$work/stderr.log" \
        || fail "the diary did not start: $(cat "$work/stderr.log")"
}

start
grep -q 'LiberationSans\|/fonts/' "$work/trace" || fail "the trace saw no font at all: $(head -c 300 "$work/trace")"
grep -q '/wine/fonts/' "$work/trace" && fail "the symbol fonts were read at start"
grep -q 'printsupport' "$work/trace" && fail "the print plug-in was loaded at start"
# Qt reads the plug-ins' descriptions from their files; loading one is what costs.
grep -q 'file=/.*/qt6/plugins/' "$work"/loaded.* || fail "the loader's trace saw no plug-in at all"
grep -q 'file=/.*/imageformats/' "$work"/loaded.* && fail "image plug-ins were loaded at start: $(grep -o 'file=/[^ ]*/imageformats/[^ ]*' "$work"/loaded.* | head -3)"

printf '%s' '{\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fnil\fcharset2 Wingdings;}}\f0 Ticked \f1 J\par}' > "$work/Entries/$today.QLE"
start
grep -q '/wine/fonts/wingding' "$work/trace" || fail "an entry in Wingdings was shown without the symbol fonts"
exit 0
