#!/bin/bash
# Runs the tile demo in a real window on a private X server: it must come up with its
# meshes, textures and sounds, draw tiles and bursts (a screenshot taken while a pair
# explodes holds the tiles' pictures and the bright glow of the bursts), and quit on
# close. Exit 77 (skipped) without an X server. A fourth argument keeps the screenshot.
set -u
demo=$1
tool=$2
shot=${3:-}
name="VexaTessel tiles"
log="$(dirname "$demo")/debug.txt"
source "$(dirname "$0")/demo_session.sh"

wait_for 10 "$tool" find "$name" || { echo "the demo's window did not appear"; cat "$log"; exit 1; }
wait_for 10 log_has "D3D9 Device successfully created." || { echo "no device"; cat "$log"; exit 1; }
# The first pair explodes 2.4 s into the script; its sparks and explosions glow until 3.2 s.
sleep "${SHOT_AT:-2.6}"
[ -n "$shot" ] || shot=$(mktemp --suffix=.bmp)
"$tool" shot "$name" "$shot" || { echo "no screenshot"; exit 1; }
kill -0 $demo_pid 2>/dev/null || { echo "the demo ended early"; cat "$log"; exit 1; }
close_demo
for line in "App object deleted." "FINISH"; do
    log_has "$line" || { echo "missing in the log: $line"; cat "$log"; exit 1; }
done
if log_has "exception"; then echo "the demo raised an exception"; cat "$log"; exit 1; fi
echo "the demo drew its tiles and bursts and quit on close; screenshot $shot"
