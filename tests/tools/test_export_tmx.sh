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
# The projects hold at most a row of tiles: one of them as a project of 37 tiles (three rows of
# the picture, the last one short), cells of every colour, hires and multicolour.
first="$(ls "$ctm_folder"/*mc-per-tile*.ctm | head -n 1)"
if "$PROGRAM" --to-project "$first" wide.fontarel 2>/dev/null && python3 - wide.fontarel <<'PY'
import json, sys
path = sys.argv[1]
p = json.load(open(path))
count, cells = 37, p["tiles"]["width"] * p["tiles"]["height"]
hexes = lambda values: "".join("%02x" % v for v in values)
p["tiles"]["codes"] = [hexes((t + i) % 4 for i in range(cells)) for t in range(count)]
p["tiles"]["attributes"] = [hexes((t * 3 + i) % 16 for i in range(cells)) for t in range(count)]
p["tiles"]["tags"] = [0] * count
p["tiles"]["names"] = ["t%d" % t for t in range(count)]
p["level"] = {"columns": 9, "rows": 5,
              "tiles": ["".join("%04x" % ((x * 7 + y * 3) % count) for x in range(9))
                        for y in range(5)]}
json.dump(p, open(path, "w"))
PY
then
    "$PROGRAM" --export-level tmx wide.fontarel wide.tmx 2>err.txt &&
        "$PROGRAM" --export-level png wide.fontarel wide.png 2>>err.txt &&
        tmxrasterizer wide.tmx wide.tiled.png >raster.txt 2>&1 || fail "37 tiles: $(cat err.txt raster.txt)"
    grep -q 'tilecount="37" columns="16"' wide.tmx || fail "37 tiles: not 16 a row"
    differ="$(compare -metric AE wide.png wide.tiled.png null: 2>&1)"
    [ "$differ" = 0 ] && checks=$((checks + 1)) ||
        fail "37 tiles: Tiled's drawing differs from the level picture: $differ"
else
    fail "a project of 37 tiles could not be made"
fi
[ "$checks" -gt 0 ] || fail "no map was compared"

echo "$checks maps drawn alike, $failures failed"
[ "$failures" -eq 0 ] || exit 1
exit 0
