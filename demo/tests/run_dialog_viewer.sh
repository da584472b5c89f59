#!/bin/bash
# Shows the game's dialogs in the dialog viewer on a private X server, in both editions'
# window sizes, and keeps a screenshot of each (dialogs_<mode>_<width>.bmp beside the
# viewer): the main form; the in-game panel beside the board's cells and the HUD, with the
# pointer resting on the hint button so that its tooltip shows; the background dialog over
# a paused round. The main form and the background dialog are shot with their combo box
# dropped. Exit 77 (skipped) without Xvfb or xdotool.
set -u
viewer=$1
tool=$2
name="Vexa dialog viewer"
dir="$(dirname "$viewer")"
log="$dir/viewer.txt"

command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 77; }
exec 3< <(Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 77; }
viewer_pid=
trap 'kill $xvfb_pid 2>/dev/null; [ -n "$viewer_pid" ] && kill -9 $viewer_pid 2>/dev/null' EXIT
export DISPLAY=":$display"

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
    local tries=$(( $1 * 10 )); shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1)); [ $tries -le 0 ] && return 1; sleep 0.1
    done
}
log_has() { grep -q -- "$1" "$log"; }
fail() { echo "$1"; cat "$log" 2>/dev/null; exit 1; }
centre() { grep -o -- "$1 at [0-9-]* [0-9-]*" "$log" | tail -n 1 | cut -d' ' -f4-; }

show() {  # show MODE WIDTH HEIGHT: start the viewer, keep a screenshot, close it
    local mode=$1 width=$2 height=$3
    rm -f "$log"
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$viewer" "$mode" "$width" "$height" &
    viewer_pid=$!
    wait_for 10 "$tool" find "$name" || fail "the viewer's window did not appear ($mode $width)"
    wait_for 10 log_has "Viewer ready." || fail "the viewer did not load the dialogs ($mode $width)"
    local window
    window=$(xdotool search --name "$name" | head -n 1)
    if [ "$mode" = round ]; then
        read -r x y <<< "$(centre 'Button 4098')"
        xdotool mousemove --window "$window" "$x" "$y"; sleep 2.5
    else
        # The dialog's combo box: a click drops its list.
        read -r x y <<< "$(centre "Combo $([ "$mode" = main ] && echo 4097 || echo 4096)")"
        xdotool mousemove --window "$window" "$x" "$y"; sleep 0.3
        xdotool mousedown 1; sleep 0.2; xdotool mouseup 1; sleep 0.8
    fi
    "$tool" shot "$name" "$dir/dialogs_${mode}_${width}.bmp" || fail "no screenshot ($mode $width)"
    "$tool" close "$name"
    for _ in $(seq 100); do kill -0 $viewer_pid 2>/dev/null || break; sleep 0.1; done
    kill -0 $viewer_pid 2>/dev/null && fail "the viewer did not quit on close ($mode $width)"
    wait $viewer_pid || fail "the viewer exited with an error ($mode $width)"
    viewer_pid=
}

for size in "900 675" "1024 768"; do
    for mode in main round background; do
        show $mode $size
    done
done
echo "screenshots in $dir/dialogs_*.bmp"
