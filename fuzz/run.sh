#!/usr/bin/env bash
# Builds the fuzz target and runs it for SECONDS (default 120), seeded with
# every template of tests/cli and examples/. Exits non-zero on any finding;
# the input that caused it is left in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_load

work=build/fuzz
rm -rf "$work/corpus" "$work/seeds"
mkdir -p "$work/corpus" "$work/seeds" "$work/findings"
find tests/cli examples -name '*.fxt' -exec cp {} "$work/seeds/" \;

"$work/fuzz_load" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -dict=fuzz/fxt.dict -artifact_prefix="$work/findings/" -print_final_stats=1 \
  "$work/corpus" "$work/seeds"
