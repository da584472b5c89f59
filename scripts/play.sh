#!/usr/bin/env bash
# Sets everything up, builds, and starts the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="${VEXA_BUILD_DIR:-$root/build}"
if [ -x "$build/bin/VexaTessel" ]; then
  exec "$build/bin/VexaTessel"
fi
echo "The engine's foundation is built, but the game itself is not there yet:"
echo "no VexaTessel program exists in this version. Run scripts/test.sh to test what does."
exit 1
