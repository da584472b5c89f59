#!/usr/bin/env bash
# Sets everything up, builds, and starts the game.
#   scripts/play.sh                the 900 x 675 window (VexaTessel)
#   scripts/play.sh --fullscreen   the 1024 x 768 full-screen edition (VexaTessel1024)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program=VexaTessel
case "${1:-}" in
  "") ;;
  --fullscreen) program=VexaTessel1024 ;;
  *) echo "usage: scripts/play.sh [--fullscreen]" >&2; exit 2 ;;
esac
"$root/scripts/setup.sh"
build="${VEXA_BUILD_DIR:-$root/build}"
if [ ! -x "$build/bin/$program" ]; then
  echo "The build made no $build/bin/$program (a compiler without the GBK character set?)." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is set)."
  echo "On a machine without one, start it on a virtual X server, for example:"
  echo "  xvfb-run -a -s \"-screen 0 1280x1024x24\" $build/bin/$program"
  echo "and watch it with a VNC server on that display, or take screenshots."
  exit 1
fi
exec "$build/bin/$program"
