#!/bin/bash
# Runs the widget gallery in a real window on a private X server and drives it with
# xdotool: a press on OK released outside does nothing, clicking the check box's label
# toggles it, the wheel scrolls the list, dragging its thumb moves the first row shown,
# the slider snaps, the combo box near the bottom opens upward and a picked line becomes
# its text, a clicked row is selected, "abc 123" typed into the text line is edited with
# Home, Delete, End, Backspace and Left, the integer line refuses a dot and a late minus,
# the File menu opens and its Recent sub-menu's Two is chosen, the Yes/No box is answered
# No, the input box is cancelled, and a click on OK released inside ends the program with
# command 1. The gallery traces where its newer targets lie, so those clicks follow the
# font's measures. A picture of the window is kept after each step (gallery_*.ppm in the
# directory given third).
# Exit 77 (skipped) without an X server or xdotool.
set -u
demo=$1
tool=$2
shots=${3:-.}
name="Zeb widget gallery"
log="$(dirname "$demo")/gallery.txt"

command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 77; }
source "$(dirname "$0")/demo_session.sh"

wait_for 10 "$tool" find "$name" || { echo "the gallery's window did not appear"; exit 1; }
wait_for 10 log_has "Gallery dialog loaded from WidgetGallery.kvr." || { echo "not loaded"; cat "$log"; exit 1; }
window=$(xdotool search --name "$name" | head -n 1)
[ -n "$window" ] || { echo "xdotool cannot see the window"; exit 1; }

fail() { echo "$1"; cat "$log"; exit 1; }
# The log holds GBK text: matched byte by byte.
log_has() { LC_ALL=C grep -aq -- "$1" "$log"; }
at() { xdotool mousemove --window "$window" "$1" "$2"; sleep 0.2; }
press() { xdotool mousedown 1; sleep 0.2; }
release() { xdotool mouseup 1; sleep 0.2; }
snap() { sleep 0.3; "$tool" snap "$name" "$shots/gallery_$1.ppm"; }
target() { LC_ALL=C grep -ao -- "Target $1 at [0-9-]* [0-9-]*" "$log" | tail -n 1 | cut -d' ' -f4-; }
click() { at "$1" "$2"; press; release; }

# The 600 x 470 dialog is centred in the 800 x 600 client area; its client area starts
# below the caption bar, 21 pixels under its top edge at (100, 65).
snap start

# OK (120..230, 102..130): pressed, dragged out and released there: no command.
at 175 116; press; at 175 250; release
sleep 0.5
kill -0 $demo_pid 2>/dev/null || fail "the gallery ended on a release outside OK"
log_has "Command 1 from" && fail "a release outside OK posted its command"

# The check box's label.
at 180 157; press; release
wait_for 5 log_has "Check box is now on." || fail "clicking the label did not toggle the box"
snap checked

# The wheel over the list scrolls it a line; resting on a shortened row shows its text.
at 200 300; xdotool click 5
wait_for 5 log_has "List shows row 1 first." || fail "the wheel did not scroll the list"
at 200 191; sleep 1.5
snap wheel

# The thumb (on the bar at x 362..380) dragged to the bottom shows the last page.
at 371 225; press; at 371 380; at 371 590; release
wait_for 5 log_has "List shows row 16 first." || fail "dragging the thumb did not scroll to the end"
snap thumb

# The slider's thumb (420..430, 196..216) dragged 105 pixels snaps to step 2 of 4.
at 425 206; press; at 480 206; at 530 206; release
wait_for 5 log_has "Slider value is now 2." || fail "the slider did not snap to step 2"

# The combo box (420..640, 495..519) has no room below: its list (six lines of 18
# pixels) opens above it.
at 500 507; press; release
wait_for 5 log_has "Combo list open above the box" || fail "the combo did not open upward"
snap combo_open
at 500 437; press; release
wait_for 5 log_has "Combo text is now .* Hard." || fail "the picked line did not become the combo's text"
log_has "Command 11 from ComboBox 50" || fail "no command 11 from the combo box"
snap combo_picked

# A row of the list clicked is selected (rows start at y 183).
at 150 215; press; release
wait_for 5 log_has "List row .* selected." || fail "clicking a row selected nothing"
snap selection

# The text line: typed, then edited with keys; Enter posts its text.
read -r x y <<< "$(target line0)"
[ -n "${y:-}" ] || fail "the gallery traced no input lines"
click "$x" "$y"
xdotool type --delay 80 "abc 123"
snap caret
xdotool key --delay 80 Home Delete End BackSpace Left
xdotool type --delay 80 "9"
xdotool key Return
wait_for 5 log_has 'Line 0 text "bc 192".' || fail "typing and editing did not give bc 192"

# The integer line takes a minus only first and no dot.
read -r x y <<< "$(target line2)"
click "$x" "$y"
xdotool type --delay 80 -- "-12.5-"
xdotool key Return
wait_for 5 log_has 'Line 2 text "-125".' || fail "the integer line did not give -125"

# The File menu, its Recent sub-menu and the sub-menu's Two.
read -r bar_left bar_bottom row file_width < <(LC_ALL=C sed -n \
    's/.*Bar at \([0-9]*\) \([0-9]*\), menu rows \([0-9]*\) high, File menu \([0-9]*\) wide\..*/\1 \2 \3 \4/p' "$log")
[ -n "${file_width:-}" ] || fail "no menu geometry traced"
menu_left=$((bar_left + 3)); menu_top=$((bar_bottom + 1))
recent_y=$((menu_top + 2 + 2 * row + row / 2))           # the File menu's third row
sub_left=$((menu_left + file_width)); sub_top=$((menu_top + 2 * row))
two_y=$((sub_top + 2 + row + row / 2))                    # the sub-menu's second row
read -r x y <<< "$(target base0)"
click "$x" "$y"
at $((menu_left + 20)) "$recent_y"
at $((menu_left + 40)) "$recent_y"
snap submenu
at $((sub_left + 20)) "$recent_y"
at $((sub_left + 20)) "$two_y"
click $((sub_left + 20)) "$two_y"
wait_for 5 log_has "Command 4302 from" || fail "choosing Two in the sub-menu posted nothing"

# The Yes/No box, answered No.
read -r x y <<< "$(target ask)"
click "$x" "$y"
wait_for 5 log_has "Target button4 at" || fail "the message box did not show its No button"
snap message_box
read -r x y <<< "$(target button4)"
click "$x" "$y"
wait_for 5 log_has "Message box answered 4." || fail "clicking No did not answer 4"

# The input box: typed into, then cancelled; the initial text comes back.
read -r x y <<< "$(target name)"
click "$x" "$y"
wait_for 5 log_has "Target button2 at" || fail "the input box did not show its Cancel button"
xdotool type --delay 80 "abc"
snap input_box
read -r x y <<< "$(target button2)"
click "$x" "$y"
wait_for 5 log_has 'Input box answered 2 with "Player".' || fail "cancelling did not give back the initial text"

# OK clicked with the release inside ends the run.
at 175 116; press; release
for _ in $(seq 50); do kill -0 $demo_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $demo_pid 2>/dev/null && fail "OK did not end the gallery"
wait $demo_pid; status=$?
demo_pid=
[ $status -eq 0 ] || fail "the gallery exited with $status"
log_has "Command 1 from nobody 0" || fail "the run did not end with OK's command 1"
log_has "FINISH" || fail "the log did not close"
echo "the gallery's widgets answered the pointer and OK ended the run"
