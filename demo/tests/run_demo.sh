#!/bin/bash
# Runs the runtime demo in a real window on a private X server: frames run, the program
# goes to the background and comes back, the close button ends it, and its debug log
# holds the start-up and shut-down lines. Exit 77 (skipped) without an X server to start.
set -u
demo=$1
tool=$2
name="KvLib runtime demo"
log="$(dirname "$demo")/debug.txt"

command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
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
wait_for 10 log_has "of active time" || { echo "no frames ran"; cat "$log"; exit 1; }
reports() { grep -c "of active time" "$log"; }

# In the background no frame runs, so no second of active time passes.
"$tool" unfocus "$name"
sleep 0.3
before=$(reports)
sleep 1.5
after=$(reports)
[ "$before" -eq "$after" ] || { echo "frames ran in the background"; cat "$log"; exit 1; }

# Back in front, frames run again.
"$tool" focus "$name"
more() { [ "$(reports)" -gt "$after" ]; }
wait_for 10 more || { echo "frames did not resume"; cat "$log"; exit 1; }
"$tool" close "$name"
for _ in $(seq 100); do kill -0 $demo_pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $demo_pid 2>/dev/null; then echo "the demo did not quit on close"; exit 1; fi
wait $demo_pid; status=$?
demo_pid=
[ $status -eq 0 ] || { echo "the demo exited with $status"; cat "$log"; exit 1; }

for line in "COM Interface initialized." "successfully created." "Graphic system initialized." \
            "Input system initialized." "Initialization done." "App object deleted." \
            "Graphic system released." "Input system released." "destroyed." \
            "COM uninitialized." "FINISH"; do
    log_has "$line" || { echo "missing in the log: $line"; cat "$log"; exit 1; }
done
echo "demo ran, went to the background, came back and quit on close"
