#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan included) into
# build-fuzz/ and runs the block-file fuzzer for a bounded time.
# Usage: scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
VEXA_BUILD_DIR="$root/build-fuzz" "$root/scripts/setup.sh" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVEXA_FUZZ=ON -DVEXA_TESTS=OFF
corpus="$root/build-fuzz/corpus/block_file"
mkdir -p "$corpus"
"$root/build-fuzz/bin/block_file_fuzz" -max_total_time="$seconds" -max_len=4096 \
  -print_final_stats=1 "$corpus"
