#!/usr/bin/env bash
# Builds the fuzz targets and runs each for SECONDS (default 120): the load,
# and the language server's message handler. Both are seeded with every
# template of tests/cli and examples/. Exits non-zero on any finding; the
# input that caused it is left in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_load fuzz_lsp

work=build/fuzz
rm -rf "$work/seeds"
mkdir -p "$work/seeds" "$work/findings"
find tests/cli examples -name '*.fxt' -exec cp {} "$work/seeds/" \;

for target in fuzz_load fuzz_lsp; do
  rm -rf "$work/corpus-$target"
  mkdir -p "$work/corpus-$target"
  "$work/$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -dict=fuzz/fxt.dict -artifact_prefix="$work/findings/$target-" -print_final_stats=1 \
    "$work/corpus-$target" "$work/seeds"
done
