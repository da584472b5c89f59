#!/usr/bin/env bash
# Sets everything up, builds, and runs every test; exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" "$@"
build="${VEXA_BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
