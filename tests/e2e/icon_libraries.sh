#!/bin/sh
# The icon libraries the build drew are real 32-bit icon libraries: Debian's icoutils, which
# know nothing of this program, list their icon groups and take a 32 x 32 icon out of each.
# Arguments: the quillory executable, the quillory-cli executable.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "icon_libraries: $*" >&2; exit 1; }
command -v wrestool >/dev/null && command -v icotool >/dev/null || fail "icoutils are not installed (scripts/install-deps)"

data="$(dirname "$1")/dist-data"
for library in "$data"/icons/activity.icl "$data"/icons/events.icl "$data"/icons/holiday.icl \
               "$data"/icons/misc1.icl "$data"/icons/misc2.icl "$data"/BonusIcons/*.icl; do
    [ -f "$library" ] || fail "missing: $library"
    groups=$(wrestool -l --type=14 "$library" | wc -l)
    [ "$groups" -ge 40 ] || fail "$library: $groups icon groups"
    rm -f "$work"/*
    wrestool -x --type=14 --name=1 -o "$work/" "$library" || fail "$library: the first icon cannot be taken out"
    icotool -l "$work"/* | grep -q -- '--width=32 --height=32 --bit-depth=32' || fail "$library: no 32 x 32 icon"
done
exit 0
