#!/bin/sh
# The Debian package CPack makes: it holds the installed copy's files under /usr, declares the
# libraries the programs link and what Qt loads at run time, names only packages Debian knows,
# and unpacked into an empty root its command line runs with the data it brought.
# Arguments: the quillory executable, the quillory-cli executable (in the build folder).
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "deb_package: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    command -v $tool >/dev/null || fail "$tool is not installed (scripts/install-deps)"
done

build=$(dirname "$1")
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/out/quillory_*.deb 2>/dev/null | head -n 1)
[ -f "$deb" ] || fail "no package: $(ls "$work/out")"

dpkg-deb -I "$deb" > "$work/info" || fail "not a package"
depends=$(sed -n 's/^ Depends: //p' "$work/info")
for needed in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 libsodium23 libzip4 libc6 libstdc++6 \
              qt6-qpa-plugins qt6-image-formats-plugins fonts-liberation; do
    echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx "$needed" || fail "Depends lacks $needed: $depends"
done
grep -q '^ Package: quillory$' "$work/info" || fail "package name: $(cat "$work/info")"

dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
for file in ./usr/bin/quillory ./usr/bin/quillory-cli ./usr/bin/quillory-cli-full ./usr/share/quillory/quillor.dct \
            ./usr/share/quillory/quillor-en-GB.dct ./usr/share/quillory/quillor-de.dct ./usr/share/quillory/quillor-no.dct \
            ./usr/share/quillory/help/01-getting-started.html ./usr/share/quillory/icons/misc1.icl \
            ./usr/share/quillory/translations/quillory_de.qm ./usr/share/quillory/translations/quillory_fr.qm \
            ./usr/share/applications/org.quillory.Quillory.desktop \
            ./usr/share/metainfo/org.quillory.Quillory.metainfo.xml \
            ./usr/share/icons/hicolor/48x48/apps/quillory.png ./usr/share/man/man1/quillory-cli.1.gz; do
    grep -qx "$file" "$work/contents" || fail "the package lacks $file"
done
grep -v '^\./usr/' "$work/contents" | grep -qv '^\./$' && fail "files outside /usr: $(grep -v '^\./usr/' "$work/contents")"

# Every package named must be one Debian has (where the package lists are at hand).
if command -v apt-cache >/dev/null && apt-cache show libc6 >/dev/null 2>&1; then
    names=$(echo "$depends" | tr ',|' '\n\n' | sed 's/^ *//; s/ .*//' | sort -u)
    known=$(apt-cache show --no-all-versions $names 2>/dev/null | sed -n 's/^Package: //p' | sort -u)
    [ "$known" = "$names" ] || fail "Debian lacks a package: $(echo "$names" | grep -vxF "$known")"
fi

# Unpacked into an empty root, the command line finds its data there and keeps the diary at home.
dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack"
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME"
printf 'A wrods test.\n' > "$work/words.txt"
[ "$("$work/root/usr/bin/quillory-cli" spell "$work/words.txt")" = wrods ] || fail "the packaged command line does not spell"
[ -d "$work/data/quillory" ] || fail "the diary folder is not at home"
exit 0
