#!/bin/bash
# "cmake --install" of a built tree into an empty prefix puts the program and its desktop files in
# the standard places, and what it put there fits together: the launcher runs a program that is
# there, names an icon that is there, and the installed program answers --version with the version
# that the installed manual page and metainfo carry.
# Usage: test_install.sh CMAKE BUILD_DIR SCRATCH_DIR

set -u
cmake="$1"
build="$2"
prefix="$3/prefix"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$prefix"
mkdir -p "$prefix" || fail "cannot create $prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$3/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$3/install.log")"

expected=(
    bin/fontarel
    share/applications/fontarel.desktop
    share/metainfo/fontarel.metainfo.xml
    share/icons/hicolor/scalable/apps/fontarel.svg
    share/icons/hicolor/48x48/apps/fontarel.png
    share/icons/hicolor/256x256/apps/fontarel.png
    share/man/man1/fontarel.1.gz
    share/doc/fontarel/copyright
    share/doc/fontarel/changelog.gz
    share/doc/fontarel/builtin-charsets.md
)
for f in "${expected[@]}"; do
    [ -f "$prefix/$f" ] || fail "$f was not installed"
done
[ -x "$prefix/bin/fontarel" ] || fail "bin/fontarel is not executable"

# Nothing else: a stray install rule (a test program, a library) would show here.
count=$(find "$prefix" -type f | wc -l)
[ "$count" -eq "${#expected[@]}" ] || fail "installed $count files: $(cd "$prefix" && find . -type f)"

# png_size FILE: "WIDTHxHEIGHT" from the PNG header (big-endian words at bytes 16 and 20).
png_size() {
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4}')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4}')
    echo "${w}x${h}"
}
for size in 48x48 256x256; do
    f="$prefix/share/icons/hicolor/$size/apps/fontarel.png"
    [ "$(head -c 8 "$f" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$f is no PNG"
    [ "$(png_size "$f")" = "$size" ] || fail "$f is $(png_size "$f"), not $size"
done

desktop="$prefix/share/applications/fontarel.desktop"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$prefix/bin/$program" ] || fail "the launcher runs '$program', which is not in bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the launcher's icon '$icon' is not installed"

# The installed program runs from its new place; --version needs no display and ends at once (the
# time limit keeps a program that took it for a font name and opened its window from hanging here).
version=$(QT_QPA_PLATFORM=offscreen timeout 10 "$prefix/bin/fontarel" --version) ||
    fail "fontarel --version failed"
case "$version" in
fontarel\ *) ;;
*) fail "fontarel --version printed '$version'" ;;
esac
# The release of the metainfo is the last word of the version.
manual="$prefix/share/man/man1/fontarel.1.gz"
metainfo="$prefix/share/metainfo/fontarel.metainfo.xml"
zgrep -q "^\.TH FONTAREL 1 [0-9-]* \"$version\" " "$manual" ||
    fail "the manual page is not of $version: $(zgrep '^\.TH' "$manual")"
zgrep -q "^fontarel (${version##* }) " "$prefix/share/doc/fontarel/changelog.gz" ||
    fail "the changelog's last entry is not of ${version##* }"
grep -qF "<release version=\"${version##* }\" " "$metainfo" ||
    fail "the metainfo's release is not ${version##* }: $(grep '<release ' "$metainfo")"
echo "PASS: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
