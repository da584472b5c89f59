#!/bin/bash
# Starts the real game over a copy of its runtime tree with one file broken, and expects
# the engine's message box with the failure's message, then exit code -1 and no crash. It
# runs on SDL's offscreen driver, where the platform's message box writes its caption and
# text to stderr and answers with its first button, so nothing waits for a click.
#
#   run_bad_data.sh PROGRAM CASE
#
# CASE: no_resources (VexaTessel.kvr missing), broken_list (list.txt is not a tile list),
# no_mesh (GUI/Mesh/frame.x missing).
set -u
program=$1
case_name=$2
bin=$(cd "$(dirname "$program")" && pwd)

tree=$(mktemp -d)
trap '[ -n "${game_pid:-}" ] && kill -9 $game_pid 2>/dev/null; rm -rf "$tree"' EXIT

# The program itself is copied (it finds its data beside its real path), the libraries
# and the data are linked or copied as the case needs.
cp "$program" "$tree/"
for lib in "$bin"/*.so*; do ln -s "$lib" "$tree/"; done
cp -r "$bin/GUI" "$bin/DataPack" "$tree/"
cp "$bin/VexaTessel.kvr" "$tree/"
case "$case_name" in
no_resources) rm "$tree/VexaTessel.kvr"; expect="VexaTessel.kvr" ;;
broken_list) printf 'not a number\n\xff\xfe\n' > "$tree/DataPack/Vexa/list.txt"; expect="list.txt" ;;
no_mesh) rm "$tree/GUI/Mesh/frame.x"; expect="Failed to load .x file" ;;
*) echo "unknown case $case_name"; exit 1 ;;
esac
log="$tree/debug.txt"
fail() { echo "FAILED: $*"; [ -f "$log" ] && tail -n 30 "$log"; exit 1; }

SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$tree/$(basename "$program")" 2>"$tree/stderr.txt" &
game_pid=$!
for _ in $(seq 150); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "the game did not end"
wait $game_pid; status=$?
game_pid=
grep -aq "^Exception caught!: .*$expect" "$tree/stderr.txt" ||
    fail "no message box naming $expect: $(cat "$tree/stderr.txt")"
[ $status -eq 255 ] || fail "exit code $status, not -1"
grep -aq "Exception caught" "$log" || fail "no caught exception in the log"
message=$(grep -a -A1 "Exception caught" "$log" | tail -n 1)
case "$message" in *"$expect"*) ;; *) fail "the message '$message' does not name $expect" ;; esac
echo "message box '$message', exit code -1"
