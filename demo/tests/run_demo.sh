#!/bin/bash
# Runs the runtime demo in a real window on a private X server: frames run, the program
# goes to the background and comes back, the close button ends it, and its debug log
# holds the start-up and shut-down lines. Exit 77 (skipped) without an X server to start.
set -u
demo=$1
tool=$2
name="KvLib runtime demo"
log="$(dirname "$demo")/debug.txt"

source "$(dirname "$0")/demo_session.sh"

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
close_demo

for line in "COM Interface initialized." "successfully created." "Graphic system initialized." \
            "Input system initialized." "Initialization done." "App object deleted." \
            "Graphic system released." "Input system released." "destroyed." \
            "COM uninitialized." "FINISH"; do
    log_has "$line" || { echo "missing in the log: $line"; cat "$log"; exit 1; }
done
echo "demo ran, went to the background, came back and quit on close"
