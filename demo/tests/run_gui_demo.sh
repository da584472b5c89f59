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

command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 77; }
exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 77; }
trap 'kill $xvfb_pid 2>/dev/null; [ -n "${demo_pid:-}" ] && kill -9 $demo_pid 2>/dev/null' EXIT
export DISPLAY=":$display"

rm -f "$log"
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$demo" &
demo_pid=$!

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
    local tries=$(( $1 * 10 )); shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1)); [ $tries -le 0 ] && return 1; sleep 0.1
    done
}
log_has() { grep -q -- "$1" "$log"; }

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

"$tool" close "$name"
for _ in $(seq 100); do kill -0 $demo_pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $demo_pid 2>/dev/null; then echo "the demo did not quit on close"; exit 1; fi
wait $demo_pid; status=$?
demo_pid=
[ $status -eq 0 ] || { echo "the demo exited with $status"; cat "$log"; exit 1; }
for line in "App object deleted." "Graphic system released." "D3D device released." "FINISH"; do
    log_has "$line" || { echo "missing in the log: $line"; cat "$log"; exit 1; }
done
echo "the demo drew, took two clicks on its picture and quit on close"
