#!/bin/bash
# The level as a Tiled map, read back by Tiled's own renderer: each CTM project of
# ../shared/data/ctm (hires and multicolour, tiles or none) exported with --export-level tmx, the
# map drawn by tmxrasterizer from the tileset picture beside it, and that drawing compared pixel
# for pixel (ImageMagick's compare) with --export-level png of the same project. No display: the
# renderer runs on Qt's offscreen platform. A missing tool or folder is reported and the test
# counts as skipped (exit 77).
# Usage: test_export_tmx.sh PROGRAM SCRATCH_DIR

set -u
PROGRAM="$(realpath "$1")"
SOURCE="$(cd "$(dirname "$0")/../.." && pwd)"
WORK="$2"
rm -rf "$WORK"
mkdir -p "$WORK" && cd "$WORK" || exit 1
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=offscreen
export LC_ALL=C

for tool in tmxrasterizer compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (scripts/deps test installs it)"
        exit 77
    fi
done
ctm_folder="$SOURCE/../shared/data/ctm"
if ! ls "$ctm_folder"/*.ctm >/dev/null 2>&1; then
    echo "SKIPPED: no folder $ctm_folder of CTM projects"
    exit 77
fi

failures=0
checks=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
for ctm in "$ctm_folder"/*.ctm; do
    name="$(basename "$ctm" .ctm)"
    if ! "$PROGRAM" --export-level tmx "$ctm" "$name.tmx" 2>err.txt ||
        ! "$PROGRAM" --export-level png "$ctm" "$name.png" 2>>err.txt; then
        fail "$name: the exports failed: $(cat err.txt)"
        continue
    fi
    grep -q "<image source=\"$name.tiles.png\"" "$name.tmx" ||
        fail "$name: the map does not name $name.tiles.png"
    if ! tmxrasterizer "$name.tmx" "$name.tiled.png" >raster.txt 2>&1; then
        fail "$name: tmxrasterizer failed: $(cat raster.txt)"
        continue
    fi
    # AE: the number of pixels that differ, on stderr; the sizes must match for compare to run.
    differ="$(compare -metric AE "$name.png" "$name.tiled.png" null: 2>&1)"
    if [ "$differ" = 0 ]; then
        checks=$((checks + 1))
    else
        fail "$name: Tiled's drawing differs from the level picture: $differ"
    fi
done
[ "$checks" -gt 0 ] || fail "no map was compared"

echo "$checks maps drawn alike, $failures failed"
[ "$failures" -eq 0 ] || exit 1
exit 0
