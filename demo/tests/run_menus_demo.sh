#!/bin/bash
# Drives the menus demo in a real window on a private X server: opens the File menu, moves
# into its Recent sub-menu and chooses Two (its command traced), answers the Yes/No box
# with No, types into the input box and cancels it (the initial text comes back). Keeps a
# screenshot of each state in the demo's directory (menus_*.bmp). The demo traces where
# its targets lie, so the clicks follow the font's measures. Exit 77 (skipped) without an
# X server or xdotool.
set -u
demo=$1
tool=$2
name="Zeb menus demo"
log="$(dirname "$demo")/debug.txt"
shots="$(dirname "$demo")"

command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 77; }
source "$(dirname "$0")/demo_session.sh"

fail() { echo "$1"; cat "$log"; exit 1; }
wait_for 10 "$tool" find "$name" || fail "the demo's window did not appear"
wait_for 10 log_has "Target name at" || fail "the demo traced no targets"
window=$(xdotool search --name "$name" | head -n 1)
[ -n "$window" ] || fail "xdotool cannot see the window"

target() { grep -o -- "Target $1 at [0-9-]* [0-9-]*" "$log" | tail -n 1 | cut -d' ' -f4-; }
move() { xdotool mousemove --window "$window" "$1" "$2"; sleep 0.3; }
click() {  # held across several frames, as a hand holds it
    move "$1" "$2"
    xdotool mousedown 1; sleep 0.2; xdotool mouseup 1; sleep 0.3
}
capture() { sleep 0.3; "$tool" shot "$name" "$shots/menus_$1.bmp" || fail "no screenshot $1"; }

read -r bar_left bar_bottom row file_width < <(sed -n \
    's/.*Bar at \([0-9]*\) \([0-9]*\), menu rows \([0-9]*\) high, File menu \([0-9]*\) wide\..*/\1 \2 \3 \4/p' "$log")
[ -n "${file_width:-}" ] || fail "no menu geometry traced"
menu_left=$((bar_left + 3)); menu_top=$((bar_bottom + 1))
recent_y=$((menu_top + 2 + 2 * row + row / 2))           # the File menu's third row
sub_left=$((menu_left + file_width)); sub_top=$((menu_top + 2 * row))
two_y=$((sub_top + 2 + row + row / 2))                    # the sub-menu's second row

read -r x y <<< "$(target base0)"
click "$x" "$y"
move $((menu_left + 20)) "$recent_y"
move $((menu_left + 40)) "$recent_y"
capture submenu
move $((sub_left + 20)) "$recent_y"
move $((sub_left + 20)) "$two_y"
click $((sub_left + 20)) "$two_y"
wait_for 5 log_has "Command 4202." || fail "choosing Two in the sub-menu posted nothing"

read -r x y <<< "$(target ask)"
click "$x" "$y"
wait_for 5 log_has "Target button4 at" || fail "the message box did not show its No button"
capture message_box
read -r x y <<< "$(target button4)"
click "$x" "$y"
wait_for 5 log_has "Message box answered 4." || fail "clicking No did not answer 4"

read -r x y <<< "$(target name)"
click "$x" "$y"
wait_for 5 log_has "Target button2 at" || fail "the input box did not show its Cancel button"
xdotool type --delay 80 "abc"
capture input_box
read -r x y <<< "$(target button2)"
click "$x" "$y"
wait_for 5 log_has 'Input box answered 2 with "Player".' || fail "cancelling did not give back the initial text"

close_demo
log_has "FINISH" || fail "the log was not finished"
echo "a sub-menu item, a No and a cancel reached the demo through the real window"
