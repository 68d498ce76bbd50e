#!/bin/bash
# The files that present the program to a desktop, checked where they are kept or, for the two
# that carry the program's version, where the build wrote them:
#   entry     desktop-file-validate has nothing to say about the desktop entry, not even a hint
#             (such as the one about more than one main category, which lists a program twice)
#   metainfo  the AppStream metainfo passes appstreamcli validate --no-net, and launches the
#             desktop entry by its file name
#   manual    the manual page formats without a warning and names every option
#   icons     the committed SVG and PNGs show exactly what tools/make-icons.py draws
# Usage: test_desktop_data.sh CHECK SOURCE_DIR MADE_DIR

set -u
check="$1"
src="$2"
data="$src/data"
made="$3"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

case "$check" in
entry)
    out=$(desktop-file-validate "$data/fontarel.desktop" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    grep -qx 'Exec=fontarel %f' "$data/fontarel.desktop" || fail "Exec does not take a file"
    grep -qx 'Categories=Graphics;.*' "$data/fontarel.desktop" ||
        fail "the main category is not Graphics"
    ;;
metainfo)
    appstreamcli validate --no-net "$made/fontarel.metainfo.xml" || fail "appstreamcli validate"
    grep -q '<launchable type="desktop-id">fontarel.desktop</launchable>' \
        "$made/fontarel.metainfo.xml" || fail "the metainfo does not launch fontarel.desktop"
    ;;
manual)
    command -v groff >/dev/null || fail "groff is not installed"
    warnings=$(groff -man -ww -z "$made/fontarel.1" 2>&1)
    [ -z "$warnings" ] || fail "groff: $warnings"
    text=$(groff -man -Tutf8 -P -cbou "$made/fontarel.1" 2>/dev/null) || fail "groff could not format"
    for option in --help --version --export --export-map --export-tiles --export-level \
        --export-materials --export-tile-tags --first \
        --count --size; do
        echo "$text" | grep -q -- "$option" || fail "the manual page does not mention $option"
    done
    ;;
icons)
    command -v python3 >/dev/null || fail "python3 is not installed"
    python3 "$src/tools/make-icons.py" --check "$data/icons" || fail "the icons are out of date"
    ;;
*)
    fail "unknown check '$check'"
    ;;
esac
echo "PASS"
