#!/bin/bash
# Blocks of the map on a real X server, through the X clipboard: a Shift-drag selects a block and
# titles the window with it, Ctrl+C and Ctrl+V at another cell copy its codes and its pixels; the
# clipboard's text, read by another program, assembles with ca65 and 64tass into the block's codes,
# and its private form holds the block; a second run of the program pastes the block the first
# one copied, and text that another program put on the clipboard.
# Usage: test_map_blocks.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
for tool in xclip ca65 ld65 64tass; do
    command -v "$tool" >/dev/null || {
        echo "FAIL: $tool is not installed (scripts/deps test)" >&2
        exit 1
    }
done
start_display "$2/map_blocks"
WORK="$SCRATCH"
rm -f "$WORK"/*.bin "$WORK"/*.o "$WORK"/*.s

# char_menu KEYS...: clicks "Char" (the second menu title) in the main window $MAIN at OX, OY, then
# presses the keys that lead to an item and Return.
char_menu() {
    xdotool windowfocus --sync "$MAIN" 2>/dev/null
    local before
    before=$(visible_windows)
    xdotool mousemove $((OX + 50)) $((OY + 9)) click 1
    new_window "$before" >/dev/null || fail "clicking 'Char' opened no menu"
    xdotool key "$@"
    sleep 0.3
    xdotool key Return
}

# show_map: "Char > Map > ZX 32x24" shows the current run's map window at 512 x 384; sets MAP, MX
# and MY.
show_map() {
    char_menu Down Right
    for _ in $(seq 50); do
        MAP=$(xdotool search --all --onlyvisible --pid "$PROGRAM_PID" --name '^Character map')
        [ -n "$MAP" ] && break
        sleep 0.1
    done
    [ -n "$MAP" ] || fail "'ZX 32x24' showed no map window"
    [ "$(window_size "$MAP")" = "512x384" ] || fail "map window inner size is $(window_size "$MAP")"
    read -r MX MY < <(window_origin "$MAP")
}

# at C R: the screen position of the middle of map cell (C, R).
at() { echo $((MX + 16 * $1 + 8)) $((MY + 16 * $2 + 8)); }

# hover C R: moves the pointer into map cell (C, R) and prints the title of window $MAP once it
# names that cell.
hover() {
    local title
    xdotool mousemove $(at "$1" "$2")
    for _ in $(seq 50); do
        title=$(xdotool getwindowname "$MAP")
        case "$title" in "Character map ($1,$2):"*)
            echo "$title"
            return 0
            ;;
        esac
        sleep 0.05
    done
    fail "hovering cell ($1,$2) gave the title '$title'"
}

# code_at C R: the code of map cell (C, R), read off the title. The title follows moves only, so
# the pointer first hovers a neighbour: a title naming (C, R) is then a new one.
code_at() {
    hover $(($1 == 0 ? 1 : $1 - 1)) "$2" >/dev/null
    hover "$1" "$2" | sed 's/^[^:]*:\([0-9]*\)\[.*/\1/'
}

# The block: 8 x 4 cells from (3, 2) of the start map, where cell (x, y) holds x + 32, with cell
# (5, 3) painted with code 65 so that its rows differ. want C R: the block's code at (C, R).
want() {
    if [ "$1" = 2 ] && [ "$2" = 1 ]; then echo 65; else echo $((35 + $1)); fi
}
# expect_block LEFT TOP: every cell of the block pasted with its top-left at (LEFT, TOP) holds it.
expect_block() {
    local c r code
    for r in 0 1 2 3; do
        for c in 0 1 2 3 4 5 6 7; do
            code=$(code_at $(($1 + c)) $(($2 + r)))
            [ "$code" = "$(want $c $r)" ] ||
                fail "cell ($(($1 + c)),$(($2 + r))) holds $code after the paste, not $(want $c $r)"
        done
    done
}

open_main "$PROGRAM"
find_grid
# "IBM PC CGA" (Char > Charset, first item), so that the codes show as different glyphs; then
# glyph 65 (column 1, row 4 of the grid) becomes the one a click paints.
char_menu Down Down Right
sleep 0.3
xdotool mousemove $((GX + 16 + 8)) $((GY + 64 + 8)) click 1
show_map
FIRST_MAP="$MAP"
xdotool windowfocus --sync "$MAP" 2>/dev/null
xdotool mousemove $(at 5 3) click 1
[ "$(code_at 5 3)" = 65 ] || fail "a click did not paint cell (5,3) with code 65"

# Shift-drag from (3, 2) to (10, 5).
xdotool mousemove $(at 3 2) keydown shift mousedown 1
xdotool mousemove $(at 6 4)
xdotool mousemove $(at 10 5)
wait_window '^Character map \(3,2\)-\(10,5\) 8x4$' 5 >/dev/null ||
    fail "the Shift-drag gave the title '$(xdotool getwindowname "$MAP")'"
xdotool mouseup 1 keyup shift
sleep 0.2
xdotool key ctrl+c
sleep 0.3

# Pasted at the hovered cell (20, 12); before, those cells held 52.. of the start map.
[ "$(code_at 20 12)" = 52 ] || fail "cell (20,12) does not hold 52 before the paste"
xdotool key ctrl+v
sleep 0.3
expect_block 20 12

# Pixels: with the pointer off the map, the pasted block (outlined, as the selection) shows the
# same glyphs as the source block; compared inside the outline's one-pixel frame.
xdotool mousemove 1 1
sleep 0.5
shot=$(screenshot pasted)
[ "$(pixel "$shot" $((MX + 320)) $((MY + 192)))" = "0,160,255" ] ||
    fail "the pasted block is not outlined as the selection"
convert "$shot" -crop "126x62+$((MX + 49))+$((MY + 33))" +repage "$WORK/source.png"
convert "$shot" -crop "126x62+$((MX + 321))+$((MY + 193))" +repage "$WORK/target.png"
[ "$(convert "$WORK/source.png" -unique-colors -format %w info:)" -ge 2 ] ||
    fail "the source block shows no glyphs"
differing=$(compare -metric AE "$WORK/source.png" "$WORK/target.png" null: 2>&1)
[ "$differing" = 0 ] || fail "$differing pixels of the pasted block differ from the source's"

# The clipboard as another program reads it, while the program that copied still owns it: its
# text assembles into the block's codes, and its private form is the width and height (two bytes
# each, low byte first) followed by the codes and then the cells' attributes (all 0 on the Mono
# map the program starts with).
for r in 0 1 2 3; do
    for c in 0 1 2 3 4 5 6 7; do
        printf "\\$(printf %03o "$(want $c $r)")"
    done
done >"$WORK/want.bin"
printf '\010\000\004\000' | cat - "$WORK/want.bin" <(head -c 32 /dev/zero) >"$WORK/want_private.bin"
targets=$(xclip -selection clipboard -o -t TARGETS | tr '\n' ' ')
[[ " $targets " = *" application/x-fontarel-map-block "* ]] ||
    fail "the clipboard offers no private form, only $targets"
xclip -selection clipboard -o -t application/x-fontarel-map-block >"$WORK/private.bin"
cmp -s "$WORK/private.bin" "$WORK/want_private.bin" ||
    fail "the private form is $(od -An -tu1 "$WORK/private.bin")"
xclip -selection clipboard -o -t UTF8_STRING >"$WORK/block.s" || fail "the clipboard holds no text"
ca65 "$WORK/block.s" -o "$WORK/block.o" && ld65 -t none "$WORK/block.o" -o "$WORK/ca65.bin" ||
    fail "ca65 rejected the clipboard's text: $(cat "$WORK/block.s")"
cmp -s "$WORK/ca65.bin" "$WORK/want.bin" || fail "ca65 made $(od -An -tu1 "$WORK/ca65.bin")"
64tass --quiet -Wall -Werror --nostart -o "$WORK/64tass.bin" "$WORK/block.s" ||
    fail "64tass rejected the clipboard's text: $(cat "$WORK/block.s")"
cmp -s "$WORK/64tass.bin" "$WORK/want.bin" || fail "64tass made $(od -An -tu1 "$WORK/64tass.bin")"

# A second run, started while the first owns the clipboard (no clipboard manager keeps a copy
# here), pastes the first one's block.
before=$(visible_windows)
start_another "$PROGRAM"
MAIN=$(new_window "$before" 15) || fail "the second run showed no window"
[[ "$(xdotool getwindowname "$MAIN")" =~ ^fontarel\ v2\ 0\.9e ]] ||
    fail "the second run's first window is '$(xdotool getwindowname "$MAIN")'"
read -r OX OY < <(window_origin "$MAIN")
show_map
[ "$MAP" != "$FIRST_MAP" ] || fail "the map window found is the first run's"
xdotool windowfocus --sync "$MAP" 2>/dev/null
[ "$(code_at 12 16)" = 44 ] || fail "cell (12,16) of the second run does not hold 44 at start"
xdotool key ctrl+v
sleep 0.3
expect_block 12 16

# Text that another program put on the clipboard pastes as codes too.
printf '!byte 1,2\n!byte 3,4\n' >"$WORK/foreign.txt"
xclip -quiet -selection clipboard -i "$WORK/foreign.txt" >/dev/null 2>&1 &
XCLIP_PID=$! # serves the text until it is stopped below, or the X server ends
for _ in $(seq 50); do
    [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$(cat "$WORK/foreign.txt")" ] && break
    sleep 0.1
done
code_at 2 2 >/dev/null
xdotool key ctrl+v
sleep 0.3
for cell in "2 2 1" "3 2 2" "2 3 3" "3 3 4" "4 2 36"; do
    read -r c r code <<<"$cell"
    got=$(code_at "$c" "$r")
    [ "$got" = "$code" ] || fail "after pasting the other text, ($c,$r) holds $got, not $code"
done
kill "$XCLIP_PID"

echo "PASS"
