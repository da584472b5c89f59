#!/bin/bash
# Runs the GUI demo in a real window on a private X server: a held left click on the
# picture field travels the input backend, the event queue and the view tree and changes
# the picture's colour; the close button ends the program. Exit 77 (skipped) without an
# X server or xdotool.
set -u
demo=$1
tool=$2
name="Zeb GUI demo"
log="$(dirname "$demo")/debug.txt"

command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 77; }
source "$(dirname "$0")/demo_session.sh"

wait_for 10 "$tool" find "$name" || { echo "the demo's window did not appear"; exit 1; }
wait_for 10 log_has "D3D9 Device successfully created." || { echo "no device"; cat "$log"; exit 1; }
window=$(xdotool search --name "$name" | head -n 1)
[ -n "$window" ] || { echo "xdotool cannot see the window"; exit 1; }

# The picture field: the dialog (420 x 300) is centred in the 800 x 600 client area, the
# picture fills its right part from (420, 168) to (590, 278) in client pixels.
click_picture() {
    xdotool mousemove --window "$window" 500 220
    sleep 0.3
    xdotool mousedown 1
    sleep 0.2  # held across several frames, as a hand holds it
    xdotool mouseup 1
}
click_picture
wait_for 5 log_has "Picture colour is now FFE0B030." || { echo "the click did not reach the picture"; cat "$log"; exit 1; }
click_picture
wait_for 5 log_has "Picture colour is now FF40A0D0." || { echo "the second click was lost"; cat "$log"; exit 1; }

close_demo
for line in "App object deleted." "Graphic system released." "D3D device released." "FINISH"; do
    log_has "$line" || { echo "missing in the log: $line"; cat "$log"; exit 1; }
done
echo "the demo drew, took two clicks on its picture and quit on close"
