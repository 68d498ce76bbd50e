#!/bin/bash
# Font files on a real X server: Ctrl+O, a font path typed into the open requester and Enter load
# the font into the grid; "IBM 256 chars(2048bytes)" with a typed name writes the whole store to
# that name + ".fnt"; an Escape that cancels the requester or closes a message does not end the
# program.
# Usage: test_files.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$(realpath "$1")"
start_display "$2/files"
WORK="$SCRATCH/work"
rm -rf "$WORK"
mkdir -p "$WORK" || fail "cannot create $WORK"
FONT="$WORK/font.fnt"
head -c 2048 /dev/urandom >"$FONT" || fail "cannot write $FONT"

# The requesters start in the working directory.
cd "$WORK" || fail "cannot enter $WORK"
open_main "$PROGRAM"
find_grid

# grid_mismatches PNG: the number of grid pixels that differ from the font file, counting the
# top-left pixel of every 2 x 2 block outside glyph 0 (which the cursor covers).
grid_mismatches() {
    convert "$1" -crop "256x256+$GX+$GY" +repage -depth 8 txt:- |
        awk -v bytes="$(od -An -v -tu1 "$FONT" | tr -s ' \n' '  ')" '
            BEGIN { n = split(bytes, b, " "); bad = 0 }
            /^[0-9]+,[0-9]+:/ {
                split($1, xy, "[,:]"); x = xy[1]; y = xy[2]
                if (x % 2 || y % 2 || (x < 16 && y < 16)) next
                g = 16 * int(y / 16) + int(x / 16)
                v = b[8 * g + int((y % 16) / 2) + 1]
                set = int(v / 2 ^ (7 - int((x % 16) / 2))) % 2
                want = set ? "#FFFFFF" : "#000000"
                if ($3 != want) bad++
            }
            END { print (n == 2048 ? bad : "bytes:" n) }'
}

# open_requester: Ctrl+O in the main window; prints the id of the requester.
open_requester() {
    local before
    xdotool windowfocus --sync "$MAIN" 2>/dev/null
    before=$(visible_windows)
    xdotool key ctrl+o
    new_window "$before" 10
}

# wait_gone ID: waits until the window is no longer visible.
wait_gone() {
    local i
    for i in $(seq 50); do
        xdotool search --onlyvisible --name "" | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}

# --- Escape cancels the open requester, not the program.
dialog=$(open_requester) || fail "Ctrl+O opened no requester"
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.3
xdotool key Escape
still_running 1
wait_gone "$dialog" || fail "Escape left the requester open"

# --- A typed name of a missing file gives a message; Escape closes it and the program goes on.
dialog=$(open_requester) || fail "Ctrl+O opened no requester"
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.3
before=$(visible_windows)
xdotool type --delay 20 "$WORK/missing.fnt"
xdotool key Return
box=$(new_window "$before" 10) || fail "a missing font gave no message"
[ "$(xdotool getwindowname "$box")" = "No file" ] || fail "the message is '$(xdotool getwindowname "$box")'"
screenshot no_file >/dev/null
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key Escape
still_running 1
wait_gone "$box" || fail "Escape left the message open"

# --- Ctrl+O, the font's path typed, Enter: the grid shows the font.
[ "$(grid_mismatches "$(screenshot before_open)")" != 0 ] || fail "the grid shows the font before it is opened"
dialog=$(open_requester) || fail "Ctrl+O opened no requester"
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.3
xdotool type --delay 20 "$FONT"
xdotool key Return
wait_gone "$dialog" || fail "Enter left the requester open"
sleep 0.5
bad=$(grid_mismatches "$(screenshot after_open)")
[ "$bad" = 0 ] || fail "$bad grid pixels differ from the opened font"

# --- File > Save > "IBM 256 chars(2048bytes)" with a typed name: name + ".fnt", the whole store.
xdotool windowfocus --sync "$MAIN" 2>/dev/null
before=$(visible_windows)
xdotool mousemove $((OX + 20)) $((OY + 9)) click 1
new_window "$before" >/dev/null || fail "clicking 'File' opened no menu"
before=$(visible_windows)
# Open..., Save >, then the third item of the submenu.
xdotool key Down Down Right Down Down Return
dialog=$(new_window "$before" 10) || fail "'IBM 256 chars(2048bytes)' opened no requester"
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.3
xdotool type --delay 20 "saved"
xdotool key Return
wait_gone "$dialog" || fail "Enter left the save requester open"
for i in $(seq 50); do
    [ -f "$WORK/saved.fnt" ] && break
    sleep 0.1
done
[ -f "$WORK/saved.fnt" ] || fail "no saved.fnt in $WORK: $(ls "$WORK")"
[ ! -e "$WORK/saved" ] || fail "the name was saved without its extension"
[ "$(stat -c %s "$WORK/saved.fnt")" = 2048 ] || fail "saved.fnt is $(stat -c %s "$WORK/saved.fnt") bytes"
cmp -s "$FONT" "$WORK/saved.fnt" || fail "saved.fnt differs from the store"
[ "$(ls -A "$WORK" | wc -l)" = 2 ] || fail "stray files in $WORK: $(ls -A "$WORK")"

xdotool windowfocus --sync "$MAIN" 2>/dev/null
escape_exit
[ "$EXIT_CODE" = 0 ] || fail "Escape ended the program with code $EXIT_CODE"
echo "PASS"
