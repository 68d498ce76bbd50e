#!/bin/bash
# The screen import of the command line in the built program, with no display at all: a GIF of two
# cells (a checkerboard and a full block, white on black) read by Qt's GIF reader becomes a charset
# of those two glyphs and a 32 x 24 map whose other cells show the blank glyph after them.
# Usage: test_import_screen.sh PROGRAM SCRATCH_DIR

set -u
PROGRAM="$(realpath "$1")"
WORK="$2"
rm -rf "$WORK"
mkdir -p "$WORK" && cd "$WORK" || exit 1
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb # would fail, were a platform loaded

# bytes HEX: writes the bytes the hexadecimal digits spell.
bytes() { printf "$(printf '%s' "$1" | sed 's/../\\x&/g')"; }

# 16 x 8 pixels, 2 colours, LZW codes kept 3 bits wide by a clear code after every 2 pixels.
bytes 47494638396110000800800000000000ffffff2c00000000100008000002490c183060c08409132644881021c284\
0913260c183060c08409132644881021c2840913260c183060c08409132644881021c2840913260c183060c08409\
132644881021c2840913262c003b >screen.gif
said="$("$PROGRAM" --import-screen screen.gif --font out.fnt --map out.map)" || {
    echo "FAIL: exit status $?" >&2
    exit 1
}
[ "$said" = "2 cells, 2 distinct glyphs, map 32x24" ] || {
    echo "FAIL: printed '$said'" >&2
    exit 1
}
{ bytes aa55aa55aa55aa55ffffffffffffffff; head -c 2032 /dev/zero; } >font.expected
{ bytes 0001; head -c 766 /dev/zero | tr '\0' '\2'; } >map.expected
cmp out.fnt font.expected || exit 1
cmp out.map map.expected || exit 1
echo "the GIF screen made the charset and the map it draws"

# Read as a C64 screen: white, the most frequent colour, is the background; the checkerboard's
# ink is black (colour 0); cells beyond the picture get the blank light blue (14).
"$PROGRAM" --import-screen screen.gif --font c64.fnt --map c64.map --machine c64 \
    --colours c64.col --project c64.fontarel >/dev/null || {
    echo "FAIL: the C64 import ended with status $?" >&2
    exit 1
}
[ "$(stat -c %s c64.col)" = 768 ] || {
    echo "FAIL: the colours file holds $(stat -c %s c64.col) bytes, not 768" >&2
    exit 1
}
[ "$(head -c 1 c64.col | od -An -tu1 | tr -d ' ')" = 0 ] || {
    echo "FAIL: the checkerboard cell's colour is not black" >&2
    exit 1
}
[ "$(tail -c 766 c64.col | od -An -tu1 -v | tr -s ' \n' '\n' | sort -u | tr -d '\n')" = 14 ] || {
    echo "FAIL: the cells beyond the picture are not light blue" >&2
    exit 1
}
echo "read as a C64 screen, it gave the colours file"

# The project written beside them exports as the three files do, byte for byte, in every map
# format, but for the background, which only the project keeps: white, the picture's most
# frequent colour, where the files leave the C64's start (blue, 6). jq reads a glyph out of the
# project as the font file has it.
for format in byte acme defb c basic; do
    "$PROGRAM" --export-map $format --size 32x24 --machine c64 --colours c64.col c64.map from_files \
        && "$PROGRAM" --export-map $format c64.fontarel from_project || {
        echo "FAIL: --export-map $format failed" >&2
        exit 1
    }
    sed -i 's/from_files/from_project/g; s/FROM_FILES/FROM_PROJECT/g' from_files
    if [ $format != basic ]; then
        grep -q '_background \(=\|EQU\) 6$\|_BACKGROUND 6$' from_files &&
            grep -q '_background \(=\|EQU\) 1$\|_BACKGROUND 1$' from_project || {
            echo "FAIL: --export-map $format: the background is not the project's white" >&2
            exit 1
        }
    fi
    sed -i '/_background \|_BACKGROUND /d' from_files from_project
    cmp from_files from_project || {
        echo "FAIL: --export-map $format of the project differs from the files'" >&2
        exit 1
    }
done
if command -v jq >/dev/null; then
    [ "$(jq -r '.glyphs[1]' c64.fontarel)" = "$(od -An -tx1 -j8 -N8 c64.fnt | tr -d ' \n')" ] || {
        echo "FAIL: jq reads glyph 1 as $(jq -r '.glyphs[1]' c64.fontarel)" >&2
        exit 1
    }
fi
echo "the project exports as the files do"

# A broken PNG and a FIFO each give one line on stderr that says what is wrong, nothing more (the
# image library's own complaints included), and write nothing.
printf '\211PNG\r\n\032\nbroken data' >broken.png
mkfifo fifo.png
for input in broken.png fifo.png; do
    "$PROGRAM" --import-screen "$input" --font bad.fnt --map bad.map 2>err.txt && {
        echo "FAIL: $input was imported" >&2
        exit 1
    }
    [ "$(wc -l <err.txt)" = 1 ] && [ ! -e bad.fnt ] && grep -q "^fontarel: $input" err.txt || {
        echo "FAIL: $input: $(cat err.txt)" >&2
        exit 1
    }
done
grep -q 'is not a regular file' err.txt || { echo "FAIL: the FIFO: $(cat err.txt)" >&2 && exit 1; }
echo "a broken PNG and a FIFO each gave one line"

# A Koala painting needs no --machine: every cell's bit pairs 00 01 10 11 in the background (blue),
# brown and light red (the screen RAM's $9A) and green (the colour RAM's 5) make one multicolour
# glyph, and the project says multicolour is on with the two registers. --export-map names them.
{
    printf '\000\140'
    head -c 8000 /dev/zero | tr '\0' '\033'
    head -c 1000 /dev/zero | tr '\0' '\232'
    head -c 1000 /dev/zero | tr '\0' '\005'
    printf '\006'
} >paint.koa
said="$("$PROGRAM" --import-screen paint.koa --project paint.fontarel)" &&
    [ "$said" = "1000 cells, 1 distinct glyph, map 40x25" ] || {
    echo "FAIL: the Koala painting: '$said'" >&2
    exit 1
}
if command -v jq >/dev/null; then
    [ "$(jq -c '[.multicolour.on, .multicolour.colour_1, .multicolour.colour_2, .background,
        .glyphs[0]]' paint.fontarel)" = '[true,9,10,6,"1b1b1b1b1b1b1b1b"]' ] || {
        echo "FAIL: the painting's project: $(jq -c .multicolour paint.fontarel)" >&2
        exit 1
    }
fi
"$PROGRAM" --export-map byte --multicolour '$b,12' paint.fontarel paint.s &&
    grep -q '^paint_multicolour_1 = 11$' paint.s && grep -q '^paint_multicolour_2 = 12$' paint.s || {
    echo "FAIL: --export-map --multicolour: $(grep multicolour paint.s)" >&2
    exit 1
}
head -c 9000 paint.koa >short.koa
"$PROGRAM" --import-screen short.koa --project short.fontarel 2>err.txt && exit 1
[ "$(cat err.txt)" = "fontarel: short.koa is 9000 bytes: a Koala painting is 10003 (10002 without the background byte)" ] || {
    echo "FAIL: the short painting: $(cat err.txt)" >&2
    exit 1
}
echo "a Koala painting came in as a multicolour screen"
