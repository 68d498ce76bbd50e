#!/bin/bash
# A screen picture on a real X server: "File > Import > Screen picture, new charset..." with a
# 320 x 200 picture shows the map at "C64 40x25" (640 x 400), and the map window shows the picture
# pixel for pixel (each picture pixel a 2 x 2 block, white on black as the charset's colours),
# away from the dotted grid on the cells' top and left edges.
# Usage: test_import.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$(realpath "$1")"
start_display "$2/import"
WORK="$SCRATCH/work"
rm -rf "$WORK"
mkdir -p "$WORK" || fail "cannot create $WORK"

# 40 x 25 cells of 97 different patterns; a PBM's 1 is black, so set glyph pixels are written 0.
{
    echo "P1 320 200"
    awk 'BEGIN {
        for (y = 0; y < 200; y++) {
            line = ""
            for (x = 0; x < 320; x++) {
                k = (int(x / 8) * 7 + int(y / 8) * 3) % 97
                byte = ((k + 1) * ((y % 8) + 3) * 29) % 256
                bit = int(byte / 2 ^ (7 - x % 8)) % 2
                line = line (1 - bit) " "
            }
            print line
        }
    }'
} >"$WORK/screen.pbm"
convert "$WORK/screen.pbm" "$WORK/screen.png" || fail "cannot make the picture"

open_main "$PROGRAM"
before=$(visible_windows)
xdotool mousemove $((OX + 20)) $((OY + 9)) click 1
new_window "$before" >/dev/null || fail "clicking 'File' opened no menu"
before=$(visible_windows)
# Open..., Save >, Save project, Save project as..., Export >, Import > ("Recover last session",
# greyed with no earlier run, is skipped).
xdotool key Down Down Down Down Down Down Right
sleep 0.3
xdotool key Down Down Down Return
dialog=$(new_window "$before" 10) || fail "'Screen picture, new charset...' opened no requester"
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.3
xdotool type --delay 20 "$WORK/screen.png"
xdotool key Return

MAP=$(wait_window '^Character map$' 10) || fail "the import showed no map window"
[ "$(window_size "$MAP")" = "640x400" ] || fail "the map window is $(window_size "$MAP"), not C64 40x25"
# The pointer away from the map, so that no cell is outlined.
xdotool mousemove 0 0
sleep 0.5
import -display "$DISPLAY" -window "$MAP" "$SCRATCH/map.png" || fail "no screenshot of the map"

convert "$SCRATCH/map.png" -crop 640x400+0+0 +repage -colorspace gray -depth 8 gray:"$SCRATCH/map.gray"
convert "$WORK/screen.png" -sample 200% -colorspace gray -depth 8 gray:"$SCRATCH/want.gray"
unlike=$(python3 - "$SCRATCH/map.gray" "$SCRATCH/want.gray" <<'EOF'
import sys
got = open(sys.argv[1], "rb").read()
want = open(sys.argv[2], "rb").read()
if len(got) != 640 * 400 or len(want) != 640 * 400:
    print("sizes %d and %d" % (len(got), len(want)))
    sys.exit()
# The grid's dots lie on each 16-pixel cell's top row and left column.
print(sum(1 for i in range(640 * 400)
          if (i % 640) % 16 and (i // 640) % 16 and got[i] != want[i]))
EOF
)
[ "$unlike" = 0 ] || fail "$unlike map pixels differ from the picture"

xdotool windowfocus --sync "$MAIN" 2>/dev/null
escape_exit
[ "$EXIT_CODE" = 0 ] || fail "Escape ended the program with code $EXIT_CODE"
echo "PASS"
