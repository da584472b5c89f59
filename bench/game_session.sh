#!/bin/bash
# The game's session benchmark, both editions on a private X server (not a test):
# start-up time to the first presented frame, CPU on the main form, in the background and
# during a round, and resident memory after a round won.
#   bench/game_session.sh [BUILD]     (default build/)
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=${1:-$root/build}
bin=$build/bin
for run in "VexaTessel windowed" "VexaTessel1024 fullscreen"; do
    set -- $run
    "$root/game/tests/run_game.sh" "$bin/$1" "$bin/x_window_tool" "$bin/round_player" "$2" bench \
        "$(mktemp -d)" | grep -a -E "start-up|in the log|CPU|frames a second|memory|FAILED"
done
