#!/bin/bash
# The Debian package of a built tree: scripts/package makes it, lintian finds no error in it, and
# the program unpacked from it starts. Skipped (77) where lintian is not installed.
# Usage: test_package.sh SOURCE_DIR BUILD_DIR SCRATCH_DIR

set -u
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
if ! command -v lintian >/dev/null; then
    echo "SKIP: lintian is not installed (scripts/deps test installs it)"
    exit 77
fi
scratch="$3"
rm -rf "$scratch" && mkdir -p "$scratch" || fail "cannot create $scratch"

deb=$("$1/scripts/package" "$2" 2>"$scratch/package.log") ||
    fail "scripts/package: $(cat "$scratch/package.log")"
case "$(basename "$deb")" in
fontarel_*_*.deb) ;;
*) fail "the package is named $(basename "$deb"), not fontarel_<version>_<arch>.deb" ;;
esac
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' ||
    fail "the dependencies were not read off the program: $(dpkg-deb -f "$deb" Depends)"

lintian "$deb" >"$scratch/lintian.log" 2>&1
if grep -q '^E: ' "$scratch/lintian.log"; then
    fail "lintian: $(grep '^E: ' "$scratch/lintian.log")"
fi

dpkg -x "$deb" "$scratch/root" || fail "dpkg -x could not unpack $deb"
version=$(QT_QPA_PLATFORM=offscreen timeout 10 "$scratch/root/usr/bin/fontarel" --version) ||
    fail "the unpacked fontarel --version failed"
[ "${version##* }" = "$(dpkg-deb -f "$deb" Version)" ] ||
    fail "the program says '$version'; the package is version $(dpkg-deb -f "$deb" Version)"
echo "PASS: $(basename "$deb"), lintian: $(grep -c '^W: ' "$scratch/lintian.log") warnings, no error"
