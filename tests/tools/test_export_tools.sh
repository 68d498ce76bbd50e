#!/bin/bash
# The exports of the command line read back by the tools they are written for: the assembler
# sources assembled by ca65 (with ld65), 64tass, ACME and pasmo, the C array compiled into a small
# program that writes it out, the BDF font converted by bdftopcf (without a word of warning) and
# back by pcf2bdf, the PSF font copied by the console font tool psfxtable, and the PNG picture read
# by ImageMagick. The converter reads back pcf2bdf's BDF, the PSF (gzip-compressed too, and with a
# table from psfaddtable) and the PRG, and converts real fonts of other tools. Each result is
# compared byte for byte (or pixel for pixel) with the glyphs or map codes that went in: all 256
# glyphs, a range, glyph 0 alone, glyph 255 alone, a map of each of the five sizes (three with
# colours, and a Spectrum screen), and the tiles and level of two projects; a font and the CTM
# projects of ../shared/data/ctm (when it is there) written as projects by --to-project export as
# they do themselves. No display at all. A missing tool is reported and the test counts
# as skipped (exit 77); every other tool still runs.
# Usage: test_export_tools.sh PROGRAM SCRATCH_DIR

set -u
PROGRAM="$(realpath "$1")"
SOURCE="$(cd "$(dirname "$0")/../.." && pwd)"
WORK="$2"
rm -rf "$WORK"
mkdir -p "$WORK" && cd "$WORK" || exit 1
# No display: an export that tried to open one would fail here.
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export LC_ALL=C

failures=0
checks=0
missing=()
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { checks=$((checks + 1)); }
have() {
    if command -v "$1" >/dev/null; then return 0; fi
    case " ${missing[*]-} " in *" $1 "*) ;; *) missing+=("$1") ;; esac
    return 1
}
# same FILE EXPECTED WHAT: the two files are equal byte for byte.
same() {
    if cmp -s "$1" "$2"; then pass; else fail "$3: $1 differs from $2"; fi
}
# bytes N FORMULA: N bytes, byte i = FORMULA (an arithmetic expression of i) mod 256.
bytes() {
    local i
    for ((i = 0; i < $1; i++)); do
        printf "\\$(printf %03o $((($2) % 256)))"
    done
}
export_glyphs() { "$PROGRAM" --export "$1" --first "$2" --count "$3" font.fnt "$4"; }
# assembled BASE WANT WHAT [SUFFIXES]: BASE.s assembled by ca65 (with ld65) and by 64tass, BASE.a
# by ACME and BASE.asm by pasmo (those of SUFFIXES, all three by default), each to the bytes of
# WANT.
assembled() {
    local base=$1 want=$2 what=$3 suffix
    for suffix in ${4:-s a asm}; do
        case $suffix in
        s)
            if have ca65 && have ld65; then
                ca65 "$base.s" -o "$base.ca65.o" && ld65 -t none "$base.ca65.o" -o "$base.ca65.bin" ||
                    fail "$what: ca65 rejected $base.s"
                same "$base.ca65.bin" "$want" "$what: ca65"
            fi
            if have 64tass; then
                64tass --quiet -Wall -Werror --nostart -o "$base.64tass.bin" "$base.s" ||
                    fail "$what: 64tass rejected $base.s"
                same "$base.64tass.bin" "$want" "$what: 64tass"
            fi
            ;;
        a)
            if have acme; then
                # The source sets no address: the file that includes it does. Here, the command line.
                acme --setpc 0 -f plain -o "$base.acme.bin" "$base.a" ||
                    fail "$what: ACME rejected $base.a"
                same "$base.acme.bin" "$want" "$what: ACME"
            fi
            ;;
        asm)
            if have pasmo; then
                pasmo "$base.asm" "$base.pasmo.bin" >"$base.pasmo.log" 2>&1 ||
                    fail "$what: pasmo rejected $base.asm: $(head -2 "$base.pasmo.log")"
                same "$base.pasmo.bin" "$want" "$what: pasmo"
            fi
            ;;
        esac
    done
}

# A font in which every glyph differs and every byte value occurs.
bytes 2048 'i * 37 + i / 256 + 11' >font.fnt

# The glyph cases: first, count, and the base name of the outputs (which becomes their label;
# the reserved words must come out as labels that every tool accepts).
cases=("0 256 lda" "32 96 ld" "0 1 int" "255 1 8x8")
for case in "${cases[@]}"; do
    read -r first count name <<<"$case"
    dir="glyphs_$first.$count"
    mkdir -p "$dir"
    dd if=font.fnt of="$dir/want.bin" bs=8 skip="$first" count="$count" status=none
    what="glyphs $first+$count"

    for format in byte acme defb c; do
        case $format in byte) ext=s ;; acme) ext=a ;; defb) ext=asm ;; c) ext=c ;; esac
        out="$dir/$name.$ext"
        export_glyphs "$format" "$first" "$count" "$out" || fail "$what: --export $format failed"
    done
    # What the converter must give for each font made from these glyphs.
    mkdir -p "$dir/direct"
    export_glyphs byte "$first" "$count" "$dir/direct/$name.s"
    assembled "$dir/$name" "$dir/want.bin" "$what"
    if have cc; then
        label=$(grep -o 'unsigned char [A-Za-z_0-9]*' "$dir/$name.c" | cut -d' ' -f3)
        upper=$(echo "$label" | tr a-z A-Z)
        cat >"$dir/main.c" <<C
#include <stdio.h>
#include "$name.c"
int main(void) {
    fprintf(stderr, "%d %d\n", ${upper}_FIRST, ${upper}_COUNT);
    return fwrite($label, 1, sizeof $label, stdout) != sizeof $label;
}
C
        if cc -std=c99 -Wall -Wextra -Werror -o "$dir/c.run" "$dir/main.c"; then
            "$dir/c.run" >"$dir/c.bin" 2>"$dir/c.defines" || fail "$what: the C program failed"
            same "$dir/c.bin" "$dir/want.bin" "$what: C array"
            [ "$(cat "$dir/c.defines")" = "$first $count" ] && pass ||
                fail "$what: the C defines say $(cat "$dir/c.defines")"
        else
            fail "$what: cc rejected $name.c"
        fi
    fi

    # BDF: converted without a warning, then back, and its characters compared with the glyphs.
    export_glyphs bdf "$first" "$count" "$dir/$name.bdf" || fail "$what: --export bdf failed"
    if have bdftopcf && have pcf2bdf; then
        if bdftopcf -o "$dir/font.pcf" "$dir/$name.bdf" 2>"$dir/bdftopcf.log" &&
            [ ! -s "$dir/bdftopcf.log" ]; then
            pass
            pcf2bdf "$dir/font.pcf" >"$dir/back.bdf" || fail "$what: pcf2bdf failed"
            # Every character: its code must follow the previous one, its rows become bytes.
            awk -v first="$first" '
                /^ENCODING / { code = $2; if (code != first + n) bad = 1; n++ }
                /^BITMAP/ { rows = 1; next }
                /^ENDCHAR/ { rows = 0 }
                rows { print tolower($1) }
                END { if (bad) exit 1 }' "$dir/back.bdf" >"$dir/bdf.hex" ||
                fail "$what: the PCF font holds other codes"
            od -An -v -tx1 "$dir/want.bin" | tr -s ' ' '\n' | grep . >"$dir/want.hex"
            same "$dir/bdf.hex" "$dir/want.hex" "$what: BDF through bdftopcf and pcf2bdf"
            # The converter reads pcf2bdf's BDF back to the same glyphs at the same codes.
            mkdir -p "$dir/back"
            "$PROGRAM" --export byte --first "$first" --count "$count" "$dir/back.bdf" \
                "$dir/back/$name.s" || fail "$what: --export byte of pcf2bdf's BDF failed"
            same "$dir/back/$name.s" "$dir/direct/$name.s" "$what: pcf2bdf's BDF converted"
        else
            fail "$what: bdftopcf: $(head -3 "$dir/bdftopcf.log")"
        fi
    fi

    # PSF: the header, all 256 glyphs in their places (blank outside the selection), and the
    # console font tool copies it unchanged.
    export_glyphs psf "$first" "$count" "$dir/$name.psf" || fail "$what: --export psf failed"
    header=$(od -An -tx1 -N32 "$dir/$name.psf" | tr -s ' \n' ' ')
    want_header=" 72 b5 4a 86 00 00 00 00 20 00 00 00 00 00 00 00 00 01 00 00 08 00 00 00 08 00 00 00 08 00 00 00 "
    [ "$header" = "$want_header" ] && pass || fail "$what: PSF header $header"
    {
        head -c $((8 * first)) /dev/zero
        cat "$dir/want.bin"
        head -c $((8 * (256 - first - count))) /dev/zero
    } >"$dir/psf_glyphs.bin"
    tail -c +33 "$dir/$name.psf" >"$dir/psf_body.bin"
    same "$dir/psf_body.bin" "$dir/psf_glyphs.bin" "$what: PSF glyphs"
    if have psfxtable; then
        psfxtable -i "$dir/$name.psf" -o "$dir/copy.psf" -nt 2>"$dir/psfxtable.log" ||
            fail "$what: psfxtable rejected the font: $(cat "$dir/psfxtable.log")"
        same "$dir/copy.psf" "$dir/$name.psf" "$what: PSF copied by psfxtable"
    fi
    # The PSF read back: as written, packed by gzip, and with a Unicode table added by
    # psfaddtable; each converts to the glyphs that went in.
    gzip -9nc "$dir/$name.psf" >"$dir/$name.psf.gz"
    inputs=("$dir/$name.psf" "$dir/$name.psf.gz")
    if have psfaddtable; then
        printf '0x41 U+0041\n0x42 U+0042 U+0392\n' >"$dir/table.txt"
        psfaddtable "$dir/$name.psf" "$dir/table.txt" "$dir/table.psf" ||
            fail "$what: psfaddtable rejected the font"
        inputs+=("$dir/table.psf")
    fi
    for input in "${inputs[@]}"; do
        mkdir -p "$input.d"
        "$PROGRAM" --export byte --first "$first" --count "$count" "$input" \
            "$input.d/$name.s" || fail "$what: --export byte of $input failed"
        same "$input.d/$name.s" "$dir/direct/$name.s" "$what: $input converted"
    done

    # PRG: the load address, then the glyphs of the selection; converted to PRG again, the same.
    "$PROGRAM" --export prg --load-address c000 --first "$first" --count "$count" font.fnt \
        "$dir/$name.prg" || fail "$what: --export prg failed"
    { printf '\000\300' && cat "$dir/want.bin"; } >"$dir/want.prg"
    same "$dir/$name.prg" "$dir/want.prg" "$what: PRG"
    "$PROGRAM" --export prg --load-address C000 --count "$count" "$dir/$name.prg" "$dir/again.prg" \
        2>"$dir/prg.log" ||
        fail "$what: --export prg of the PRG failed"
    same "$dir/again.prg" "$dir/want.prg" "$what: PRG converted to PRG"
    grep -qx "fontarel: $dir/$name.prg: load address \$C000" "$dir/prg.log" && pass ||
        fail "$what: the PRG's note: $(cat "$dir/prg.log")"

    # PNG: 128 x 128, every pixel white where its glyph bit is set, black elsewhere.
    export_glyphs png "$first" "$count" "$dir/$name.png" || fail "$what: --export png failed"
    if have convert; then
        bad=$(convert "$dir/$name.png" -depth 8 txt:- | awk \
            -v bytes="$(od -An -v -tu1 font.fnt | tr -s ' \n' '  ')" -v first="$first" \
            -v last=$((first + count - 1)) '
            BEGIN { split(bytes, b, " "); bad = 0; n = 0 }
            /^[0-9]+,[0-9]+:/ {
                split($1, xy, "[,:]"); x = xy[1]; y = xy[2]; n++
                g = 16 * int(y / 8) + int(x / 8)
                set = g >= first && g <= last && int(b[8 * g + y % 8 + 1] / 2 ^ (7 - x % 8)) % 2
                if ($3 != (set ? "#FFFFFF" : "#000000")) bad++
            }
            END { print (n == 16384 ? bad : "pixels:" n) }')
        [ "$bad" = 0 ] && pass || fail "$what: PNG pixels that differ: $bad"
    fi
done

# Real fonts of other tools, each in the forms it comes in: every 8 x 8 console font with its
# Unicode table, stripped of it by psfstriptable, and unpacked; the X fonts of 8 pixels or fewer
# converted by pcf2bdf (their boxes lie below the origin, at 0 -1), also with CRLF line ends; and
# 8-pixel proportional X fonts, whose glyph boxes differ from the font's and reach outside an 8 x 8
# cell, refused with the line that says so. Each readable form converts, and its 'A' (code 65) is
# the font's own 'A' as an independent reading of the file places it in the cell.
cell_a() { # FILE: the 16 hex digits of the font's 'A' in its 8 x 8 cell
    python3 - "$1" <<'PY'
import gzip, sys
data = open(sys.argv[1], "rb").read()
if data[:2] == b"\x1f\x8b":
    data = gzip.decompress(data)
if data[:2] == b"\x36\x04":  # PSF 1: 4-byte header, 8 bytes a glyph
    print(data[4 + 65 * 8:4 + 66 * 8].hex()); sys.exit()
if data[:4] == b"\x72\xb5\x4a\x86":  # PSF 2: header size at 8, glyph size at 20
    size, glyph = int.from_bytes(data[8:12], "little"), int.from_bytes(data[20:24], "little")
    print(data[size + 65 * glyph:size + 66 * glyph].hex()); sys.exit()
rows, on, bitmap = [0] * 8, False, None
for line in data.decode("latin-1").splitlines():
    f = line.split()
    if f[:1] == ["FONTBOUNDINGBOX"]:
        fx, fy = int(f[3]), int(f[4])
    elif f[:1] == ["ENCODING"]:
        on = f[1] == "65"
    elif on and f[:1] == ["BBX"]:
        w, h, x, y = map(int, f[1:5])
    elif on and f[:1] == ["BITMAP"]:
        bitmap = 7 - (y + h - 1 - fy)
    elif on and f[:1] == ["ENDCHAR"]:
        break
    elif on and bitmap is not None:
        rows[bitmap] = int(f[0][:2], 16) >> (x - fx)
        bitmap += 1
print(bytes(rows).hex())
PY
}
real=(/usr/share/consolefonts/*-VGA8.psf.gz)
[ -e "${real[0]}" ] || { real=() && missing+=(console-setup-linux); }
for x in 4x6 5x7 5x8 clR6x6 clR8x8 clB8x8 clI8x8; do
    real+=("/usr/share/fonts/X11/misc/$x.pcf.gz")
done
for x in charR08 symb08; do
    real+=("/usr/share/fonts/X11/75dpi/$x.pcf.gz")
done
mkdir -p real
for font in "${real[@]}"; do
    name="real/$(basename "${font%%.*}")"
    [ -f "$font" ] || { missing+=("$font") && continue; }
    forms=()
    case "$font" in
    *.pcf.gz)
        have pcf2bdf || continue
        pcf2bdf "$font" >"$name.bdf" || { fail "$font: pcf2bdf failed" && continue; }
        sed 's/$/\r/' "$name.bdf" >"$name.crlf.bdf"
        forms=("$name.bdf" "$name.crlf.bdf")
        ;;
    *)
        cp "$font" "$name.psf.gz" && zcat "$font" >"$name.psf"
        forms=("$name.psf.gz" "$name.psf")
        have psfstriptable && psfstriptable "$name.psf" "$name.plain.psf" >/dev/null && forms+=("$name.plain.psf")
        ;;
    esac
    for form in "${forms[@]}"; do
        if "$PROGRAM" --export prg --load-address 0 "$form" "$form.prg" 2>"$form.err"; then
            got=$(od -An -tx1 -j $((2 + 65 * 8)) -N8 "$form.prg" | tr -d ' \n')
            want=$(cell_a "$form")
            [ "$got" = "$want" ] && [ "$want" != 0000000000000000 ] && pass ||
                fail "$form: 'A' converted to '$got', the file has '$want'"
        elif [[ "$font" = */75dpi/* ]] && grep -q 'lies outside the 8 × 8 cell of FONTBOUNDINGBOX' "$form.err" &&
            [ ! -e "$form.prg" ]; then
            pass
        else
            fail "$form: $(cat "$form.err")"
        fi
    done
done

# Maps of the five sizes, one row a line, assembled and compiled back to the file's bytes. Three
# are drawn for a machine, with the colour file given: their attribute array follows the codes, so
# what comes back is the codes and then the colours.
for case in "32x24 zx" "40x24 mono" "40x25 c64" "80x50 pc" "64x30 mono"; do
    read -r size machine <<<"$case"
    cols=${size%x*}
    rows=${size#*x}
    dir="map_$size"
    mkdir -p "$dir"
    bytes $((cols * rows)) "i * 13 + i / 7 + $cols" >"$dir/codes.bin"
    bytes $((cols * rows)) "i * 29 + i / 5 + 3" >"$dir/screen.col"
    colours=(--machine "$machine" --colours "$dir/screen.col")
    cp "$dir/codes.bin" "$dir/want.bin"
    [ "$machine" = mono ] && colours=() || cat "$dir/screen.col" >>"$dir/want.bin"
    for format in byte acme defb c; do
        case $format in byte) ext=s ;; acme) ext=a ;; defb) ext=asm ;; c) ext=c ;; esac
        "$PROGRAM" --export-map "$format" --size "$size" "${colours[@]}" "$dir/codes.bin" \
            "$dir/screen.$ext" || fail "map $size: --export-map $format failed"
    done
    # The machine's one colour beside the cells, at its start value, named in every source.
    case $machine in c64) word=background value=6 ;; zx) word=border value=7 ;; *) word="" ;; esac
    if [ -n "$word" ]; then
        grep -qx "screen_$word = $value" "$dir/screen.s" && grep -qx "screen_$word EQU $value" \
            "$dir/screen.asm" && grep -qx "#define SCREEN_${word^^} $value" "$dir/screen.c" && pass ||
            fail "map $size: no $word = $value in the sources"
    fi
    lines=$(grep -c 'byte' "$dir/screen.s")
    [ "$lines" = $((${#colours[@]} ? 2 * rows : rows)) ] && pass ||
        fail "map $size: $lines data lines for $rows rows"
    assembled "$dir/screen" "$dir/want.bin" "map $size"
    if have cc; then
        cat >"$dir/main.c" <<C
#include <stdio.h>
#include "screen.c"
int main(void) {
    fprintf(stderr, "%dx%d\n", SCREEN_WIDTH, SCREEN_HEIGHT);
    fwrite(screen, 1, sizeof screen, stdout);
    $([ ${#colours[@]} = 0 ] || echo 'fwrite(screen_colours, 1, sizeof screen_colours, stdout);')
    return 0;
}
C
        cc -std=c99 -Wall -Wextra -Werror -o "$dir/c.run" "$dir/main.c" &&
            "$dir/c.run" >"$dir/c.bin" 2>"$dir/c.size"
        same "$dir/c.bin" "$dir/want.bin" "map $size: C array"
        [ "$(cat "$dir/c.size")" = "$size" ] && pass || fail "map $size: C size $(cat "$dir/c.size")"
    fi
done

# A C64 multicolour screen: the codes, the colours and the three registers named beside them,
# assembled with a line that emits the registers after the data.
dir=map_40x25
"$PROGRAM" --export-map byte --size 40x25 --machine c64 --multicolour '$9,13' \
    --colours "$dir/screen.col" "$dir/codes.bin" "$dir/mc.s" || fail "multicolour export failed"
printf '\t.byte mc_background, mc_multicolour_1, mc_multicolour_2\n' >>"$dir/mc.s"
{ cat "$dir/codes.bin" "$dir/screen.col"; printf '\006\011\015'; } >"$dir/mc_want.bin"
assembled "$dir/mc" "$dir/mc_want.bin" "multicolour map" s

# An Atari four-colour screen: the codes as they are (bit 7 chooses COLPF3) and the five registers
# named after them.
dir=map_40x24
"$PROGRAM" --export-map byte --size 40x24 --machine atari4 --atari-colours 0,40,202,148,70 \
    "$dir/codes.bin" "$dir/atari.s" || fail "Atari export failed"
printf '\t.byte atari_COLBK, atari_COLPF0, atari_COLPF1, atari_COLPF2, atari_COLPF3\n' >>"$dir/atari.s"
{ cat "$dir/codes.bin"; printf '\000\050\312\224\106'; } >"$dir/atari_want.bin"
assembled "$dir/atari" "$dir/atari_want.bin" "Atari map" s

# Tiles, a level and materials from a project, which python3 writes: a set of at most 256 tiles on
# a Mono map (a byte a level cell, a level row over two source lines) and one of more tiles on a
# C64 multicolour map (attributes after each tile's codes, a word a level cell, registers named).
# The sources assemble to exactly the bytes of the raw binary export.
# level_project MACHINE TILES WIDTH HEIGHT COLUMNS ROWS FILE
level_project() {
    python3 - "$@" <<'PY'
import json, sys
machine, count, w, h, cols, rows, out = sys.argv[1], *map(int, sys.argv[2:7]), sys.argv[7]
c64 = machine == "C64"
hex_bytes = lambda t, step: "".join("%02x" % ((t * 7 + i * step + 1) & 255) for i in range(w * h))
project = {
    "format": "fontarel-project", "version": 1, "machine": machine, "background": 6 if c64 else 0,
    "colours": {"bit0": "#000000", "bit1": "#ffffff"},
    "glyphs": ["%016x" % (g * 0x0101010101010101 ^ 0x8142241818244281) for g in range(256)],
    "materials": "".join("%x" % (g * 7 % 16) for g in range(256)),
    "map": {"columns": 40, "rows": 25, "codes": ["00" * 40] * 25,
            "attributes": [("0e" if c64 else "00") * 40] * 25},
    "tiles": {"width": w, "height": h, "codes": [hex_bytes(t, 3) for t in range(count)],
              "attributes": [hex_bytes(t, 5) for t in range(count)]},
    "level": {"columns": cols, "rows": rows,
              "tiles": ["".join("%04x" % ((x * 131 + y * 17) % count) for x in range(cols))
                        for y in range(rows)]},
}
if c64:
    project["multicolour"] = {"on": True, "colour_1": 9, "colour_2": 13}
open(out, "w").write(json.dumps(project, indent=2))
PY
}
for case in "Mono 5 3 2 70 3" "C64 300 4 4 20 10"; do
    read -r machine count width height cols rows <<<"$case"
    dir="level_$machine"
    mkdir -p "$dir"
    level_project "$machine" "$count" "$width" "$height" "$cols" "$rows" "$dir/game.fontarel" ||
        { fail "$machine: python3 wrote no project" && continue; }
    for data in tiles level materials tile-tags; do
        for format in byte acme defb bin; do
            case $format in byte) ext=s ;; acme) ext=a ;; defb) ext=asm ;; bin) ext=bin ;; esac
            "$PROGRAM" --export-$data "$format" "$dir/game.fontarel" "$dir/$data.$ext" ||
                fail "$machine: --export-$data $format failed"
        done
        assembled "$dir/$data" "$dir/$data.bin" "$data of $count tiles on $machine"
    done
    # Shaped for a build: decimal numbers, 16-bit numbers split into low and high tables, a part
    # of the level, colour nybbles alone; each source assembles to its binary export's bytes.
    for shape in "--decimal" "--split-words" "--decimal --split-words --region 2,1,9,2"; do
        name="shaped$(echo "$shape" | tr -d ' ,-')"
        for format in byte acme defb bin; do
            case $format in byte) ext=s ;; acme) ext=a ;; defb) ext=asm ;; bin) ext=bin ;; esac
            [ "$format" = bin ] && options=${shape/--decimal/} || options=$shape
            # shellcheck disable=SC2086
            "$PROGRAM" --export-level "$format" $options "$dir/game.fontarel" "$dir/$name.$ext" \
                2>"$dir/$name.err" || fail "$machine: --export-level $format $options failed"
        done
        assembled "$dir/$name" "$dir/$name.bin" "level $shape on $machine"
    done
    "$PROGRAM" --export-tiles byte --decimal --colours-only "$dir/game.fontarel" "$dir/nybbles.s" &&
        "$PROGRAM" --export-tiles bin --colours-only "$dir/game.fontarel" "$dir/nybbles.bin" ||
        fail "$machine: --export-tiles --colours-only failed"
    assembled "$dir/nybbles" "$dir/nybbles.bin" "tiles' colour nybbles on $machine" s
    bytes 256 'i * 7 % 16' >"$dir/materials_want.bin"
    same "$dir/materials.bin" "$dir/materials_want.bin" "$machine: the project's materials"
    # The level as the machine's screen: 8 pixels a character each way.
    "$PROGRAM" --export-level png "$dir/game.fontarel" "$dir/level.png" ||
        fail "$machine: --export-level png failed"
    if have identify; then
        size=$(identify -format '%w %h' "$dir/level.png")
        [ "$size" = "$((8 * width * cols)) $((8 * height * rows))" ] && pass ||
            fail "$machine: the level's picture is $size"
    fi
done

# A Spectrum screen read by ImageMagick's own SCREEN$ reader: every pixel of the 256 x 192 picture
# is its cell's glyph bit in the attribute's ink (set) or paper (clear), at the level 192, or 255
# with BRIGHT; FLASH does not change a still picture. The attributes take every byte value.
"$PROGRAM" --export-map scr --size 32x24 --charset font.fnt --colours map_32x24/screen.col \
    map_32x24/codes.bin screen.scr || fail "--export-map scr failed"
if have convert; then
    bad=$(convert screen.scr -depth 8 txt:- | awk \
        -v font="$(od -An -v -tu1 font.fnt | tr -s ' \n' '  ')" \
        -v codes="$(od -An -v -tu1 map_32x24/codes.bin | tr -s ' \n' '  ')" \
        -v attrs="$(od -An -v -tu1 map_32x24/screen.col | tr -s ' \n' '  ')" '
        BEGIN { split(font, f, " "); split(codes, c, " "); split(attrs, a, " "); bad = n = 0 }
        /^[0-9]+,[0-9]+:/ {
            split($1, xy, "[,:]"); x = xy[1]; y = xy[2]; n++
            cell = 32 * int(y / 8) + int(x / 8) + 1
            set = int(f[8 * c[cell] + y % 8 + 1] / 2 ^ (7 - x % 8)) % 2
            colour = set ? a[cell] % 8 : int(a[cell] / 8) % 8
            level = int(a[cell] / 64) % 2 ? 255 : 192
            want = sprintf("#%02X%02X%02X", int(colour / 2) % 2 * level,
                           int(colour / 4) * level, colour % 2 * level)
            if ($3 != want) bad++
        }
        END { print (n == 256 * 192 ? bad : "pixels:" n) }')
    [ "$bad" = 0 ] && pass || fail "scr: ImageMagick's pixels that differ: $bad"
fi

# --help and --version print and end, with no display either; the version is the text that the
# source defines once (and the window's title shows).
version=$(sed -n 's/.*kProgramVersion = "\([^"]*\)";.*/\1/p' "$SOURCE/src/model/version.h")
[ -n "$version" ] && [ "$("$PROGRAM" --version)" = "$version" ] && pass ||
    fail "--version says '$("$PROGRAM" --version)', the source defines '$version'"
"$PROGRAM" --help | grep -q -- '--export-map FORMAT \[--size WxH\]' && pass || fail "--help"
# An option the program does not know is refused with the usage before a display is looked for.
"$PROGRAM" --foo >out.txt 2>err.txt
status=$?
[ "$status" -eq 2 ] && [ ! -s out.txt ] && grep -q '^Usage: fontarel' err.txt && pass ||
    fail "--foo: status $status (expected 2 and the usage on standard error): $(head -n 3 err.txt)"

# Mistakes: a non-zero exit, one line on standard error, no file.
mistake() {
    local out=$1
    shift
    if "$PROGRAM" "$@" 2>err.txt >/dev/null; then
        fail "accepted: $*"
    elif [ -e "$out" ] || [ "$(wc -l <err.txt)" != 1 ]; then
        fail "after: $* (file left: $([ -e "$out" ] && echo yes || echo no), message: $(cat err.txt))"
    else
        pass
    fi
}
mistake bad1.s --export nonsense font.fnt bad1.s
mistake bad2.s --export byte --first 200 --count 57 font.fnt bad2.s
mistake bad3.s --export byte missing.fnt bad3.s
mistake bad4.s --export-map byte --size 40x40 map_32x24/codes.bin bad4.s
mistake bad5.s --export-map byte --size 40x24 map_32x24/codes.bin bad5.s
mistake bad10.scr --export-map scr --size 40x25 --charset font.fnt map_40x25/codes.bin bad10.scr
mistake bad11.s --export-map byte --size 32x24 --machine zx --colours map_40x25/screen.col \
    map_32x24/codes.bin bad11.s
mistake no/such/folder/bad6.s --export byte font.fnt no/such/folder/bad6.s
# Fonts that cannot be read: a PSF cut short, a gzip file one byte short; and a load
# address of five digits.
head -c 40 glyphs_0.256/lda.psf >cut.psf
head -c -1 glyphs_0.256/lda.psf.gz >cut.psf.gz
mistake bad7.s --export byte cut.psf bad7.s
mistake bad8.s --export byte cut.psf.gz bad8.s
mistake bad9.s --export prg --load-address 12345 font.fnt bad9.s
mistake bad12.fontarel --to-project cut.psf bad12.fontarel
mistake bad13.fontarel --to-project missing.ctm bad13.fontarel
# --to-project: a font becomes a project whose glyphs export as the font's do, and each real CTM
# project one whose data exports write what the CTM project's own do, a remark a line beside.
mkdir -p to_project/direct
if "$PROGRAM" --to-project font.fnt to_project/font.fontarel 2>err.txt && [ ! -s err.txt ]; then
    "$PROGRAM" --export byte to_project/font.fontarel to_project/glyphs.s &&
        "$PROGRAM" --export byte font.fnt to_project/direct/glyphs.s &&
        same to_project/glyphs.s to_project/direct/glyphs.s "--to-project of a raw font"
else
    fail "--to-project of a raw font: $(cat err.txt)"
fi
ctm_folder="$SOURCE/../shared/data/ctm"
if [ -d "$ctm_folder" ]; then
    for ctm in "$ctm_folder"/*.ctm; do
        name=to_project/$(basename "$ctm" .ctm)
        if ! "$PROGRAM" --to-project "$ctm" "$name.fontarel" 2>"$name.err"; then
            fail "--to-project $ctm: $(cat "$name.err")"
            continue
        fi
        grep -qv "^fontarel: $ctm: " "$name.err" && fail "--to-project $ctm said: $(cat "$name.err")"
        for data in tiles level materials tile-tags; do
            "$PROGRAM" --export-$data bin "$ctm" "$name.$data.ctm.bin" 2>/dev/null &&
                "$PROGRAM" --export-$data bin "$name.fontarel" "$name.$data.bin" &&
                same "$name.$data.bin" "$name.$data.ctm.bin" "--to-project $ctm: the $data"
        done
    done
else
    echo "no folder $ctm_folder of CTM projects: --to-project of them not checked"
fi
# The program's own charset picture converts back to the glyphs it shows.
mkdir -p picture
if "$PROGRAM" --export byte glyphs_0.256/lda.png picture/lda.s 2>err.txt; then
    same picture/lda.s glyphs_0.256/direct/lda.s "the PNG picture converted back"
else
    fail "a charset picture given to --export: $(cat err.txt)"
fi
# A refused export leaves the file it would replace as it was: here the target is a folder.
mkdir -p folder.s && printf 'kept' >folder.s/inside
if "$PROGRAM" --export byte font.fnt folder.s 2>/dev/null; then
    fail "an export over a folder succeeded"
else
    [ "$(ls -A folder.s)" = inside ] && [ "$(cat folder.s/inside)" = kept ] && pass ||
        fail "a refused export changed the folder it was given"
fi
[ -z "$(ls -A | grep '\.tmp$')" ] && pass || fail "temporary files left: $(ls -A | grep tmp)"

echo "$checks checks passed, $failures failed"
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: not installed: ${missing[*]} (scripts/deps test installs them)"
fi
[ "$failures" -eq 0 ] || exit 1
[ ${#missing[@]} -eq 0 ] || exit 77
exit 0
