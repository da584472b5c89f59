#!/usr/bin/env bash
# Makes the README's picture from the real program: plays a round of VexaTessel on a
# private X server (game/tests/run_game.sh) and keeps its picture of a round in progress,
# with a hovered tile, a selected one and a link's sparks, as docs/round.png.
# Needs a build with the tests (scripts/test.sh or scripts/setup.sh) and Xvfb and xdotool.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VEXA_BUILD_DIR:-$root/build}"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
"$root/game/tests/run_game.sh" "$build/bin/VexaTessel" "$build/bin/x_window_tool" \
    "$build/bin/round_player" windowed round "$shots" | tail -n 2
mkdir -p "$root/docs"
"$build/tools/VexaShotPng" "$shots/windowed_round.bmp" "$root/docs/round.png"
echo "docs/round.png written"
