#!/bin/bash
# The map window on a 1366 x 768 screen: "PC 80x50" (1280 x 800) is cut to the screen and scrolls,
# so its last cell (79, 49) can still be hovered and painted, by the wheel and by the keys; "ZX
# 32x24" fits and shows whole at 512 x 384, without scroll bars.
# Usage: test_map_scroll.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
SCREEN_SIZE=1366x768
start_display "$2/map_scroll"

open_main "$PROGRAM"

# choose_map DOWNS: "Char > Map", then the item DOWNS rows below the first. The main window is
# raised first: the large map window covers its menu bar.
choose_map() {
    xdotool windowraise "$MAIN" windowfocus --sync "$MAIN" 2>/dev/null
    local before
    before=$(visible_windows)
    xdotool mousemove $((OX + 50)) $((OY + 9)) click 1
    new_window "$before" >/dev/null || fail "clicking 'Char' opened no menu"
    xdotool key Down Right
    sleep 0.3
    local i
    for i in $(seq "$1"); do xdotool key Down; done
    xdotool key Return
}

# hover_title X Y TITLE_REGEX WHAT: moves onto picture point (X, Y) of the map window from one pixel
# beside it, so that the move is seen, and waits for the title.
hover_title() {
    xdotool mousemove $((MX + $1 - 1)) $((MY + $2))
    sleep 0.1
    xdotool mousemove $((MX + $1)) $((MY + $2))
    wait_window "$3" 5 >/dev/null || fail "$4 gave the title '$(xdotool getwindowname "$MAP")'"
}

# "PC 80x50" is the fourth item of "Map".
choose_map 3
MAP=$(wait_window '^Character map$' 10) || fail "'PC 80x50' showed no map window"
sleep 0.5
read -r MW MH < <(window_size "$MAP" | tr x ' ')
read -r MX MY < <(window_origin "$MAP")
[ "$MW" -le 1366 ] && [ "$MH" -le 768 ] || fail "the map window is ${MW}x${MH}, larger than the screen"
[ "$MX" -ge 0 ] && [ "$MY" -ge 0 ] && [ $((MX + MW)) -le 1366 ] && [ $((MY + MH)) -le 768 ] ||
    fail "the map window at $MX,$MY (${MW}x${MH}) runs off the screen"
# Only the height is cut: the whole height of the screen, and the full width of the picture plus
# the vertical scroll bar.
[ "$MH" -eq 768 ] && [ "$MW" -gt 1280 ] || fail "the map window is ${MW}x${MH}"

# Unscrolled, the window's bottom-right cell is (79, 47); the wheel scrolls to the picture's end.
hover_title 1272 760 '^Character map \(79,47\):111\[6F\]$' "the bottom-right corner, unscrolled"
xdotool click 5 click 5
sleep 0.3
hover_title 1274 760 '^Character map \(79,49\):111\[6F\]$' "the bottom-right corner, scrolled"
xdotool click 1
hover_title 1276 762 '^Character map \(79,49\):0\[00\]$' "cell (79, 49) after painting"
screenshot map_scrolled >/dev/null

# Home and End scroll by the keys.
xdotool windowfocus --sync "$MAP" 2>/dev/null
xdotool key Home
sleep 0.3
hover_title 1272 760 '^Character map \(79,47\):111\[6F\]$' "the bottom-right corner after Home"
xdotool key End
sleep 0.3
hover_title 1274 760 '^Character map \(79,49\):0\[00\]$' "the bottom-right corner after End"

# "ZX 32x24" fits: 512 x 384 inside, and the picture's last column is picture, as the column one
# cell to its left, not a scroll bar.
choose_map 0
sleep 0.5
[ "$(window_size "$MAP")" = "512x384" ] || fail "ZX map window inner size is $(window_size "$MAP")"
read -r MX MY < <(window_origin "$MAP")
shot=$(screenshot map_fits)
for y in 100 375; do
    [ "$(pixel "$shot" $((MX + 511)) $((MY + y)))" = "$(pixel "$shot" $((MX + 495)) $((MY + y)))" ] ||
        fail "the ZX map's right edge at row $y is not picture"
done
echo "PASS"
