#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan included) into
# build-fuzz/ and runs each for a bounded time. Inputs that crash, leak or run slowly are
# kept in build-fuzz/artifacts/, named after their target.
# Usage: scripts/fuzz.sh [seconds per target] [target...]
#   (default 60 seconds; targets: block_file_fuzz tile_pack_fuzz dialog_block_fuzz obj_mesh_fuzz x_mesh_fuzz kvrc_source_fuzz image_fuzz)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(block_file_fuzz tile_pack_fuzz dialog_block_fuzz obj_mesh_fuzz x_mesh_fuzz kvrc_source_fuzz image_fuzz)
VEXA_BUILD_DIR="$root/build-fuzz" "$root/scripts/setup.sh" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVEXA_FUZZ=ON -DVEXA_TESTS=OFF
for target in "${targets[@]}"; do
  corpus="$root/build-fuzz/corpus/$target"
  artifacts="$root/build-fuzz/artifacts"
  mkdir -p "$corpus" "$artifacts"
  # The picture target starts from the runtime tree's small pictures.
  if [ "$target" = image_fuzz ] && [ -z "$(ls -A "$corpus")" ]; then
    find "$root/build-fuzz/bin" -type f \( -name '*.png' -o -name '*.jpg' -o -name '*.bmp' \
      -o -name '*.tga' \) -size -4097c -exec cp {} "$corpus/" \;
  fi
  echo "== $target for $seconds s"
  "$root/build-fuzz/bin/$target" -max_total_time="$seconds" -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus"
done
