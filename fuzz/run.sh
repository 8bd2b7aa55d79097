#!/usr/bin/env bash
# fuzz/run.sh [SECONDS [LOAD_SECONDS]]: builds the fuzz targets and runs the
# language server's message handler and the formatter for SECONDS each
# (default 120), and the load, which every line of every tool goes through,
# for LOAD_SECONDS (default SECONDS). The load and the
# formatter are seeded with every template of tests/cli and examples/, the
# server with the sessions of fuzz/lsp_sessions/ and the templates of
# examples/. Exits non-zero on any finding; the input that caused it is left
# in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
load_seconds=${2:-$seconds}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_load fuzz_lsp fuzz_format

work=build/fuzz
rm -rf "$work/seeds"
mkdir -p "$work/seeds/fuzz_load" "$work/findings"
find tests/cli examples -name '*.fxt' -exec cp {} "$work/seeds/fuzz_load/" \;
cp -r "$work/seeds/fuzz_load" "$work/seeds/fuzz_format"
# The server's target takes sessions of messages, and templates: those of
# examples/ are enough for its features, and leave the sessions, which its
# mutator knows the shape of, half of the corpus. It takes the words of both.
mkdir -p "$work/seeds/fuzz_lsp"
cp examples/*.fxt fuzz/lsp_sessions/*.jsonl "$work/seeds/fuzz_lsp/"
cp fuzz/fxt.dict "$work/fuzz_load.dict"
cp fuzz/fxt.dict "$work/fuzz_format.dict"
cat fuzz/fxt.dict fuzz/lsp.dict >"$work/fuzz_lsp.dict"

for target in fuzz_load fuzz_lsp fuzz_format; do
  rm -rf "$work/corpus-$target"
  mkdir -p "$work/corpus-$target"
  time=$seconds
  if [ "$target" = fuzz_load ]; then time=$load_seconds; fi
  "$work/$target" -max_total_time="$time" -max_len=8192 -timeout=10 \
    -dict="$work/$target.dict" -artifact_prefix="$work/findings/$target-" -print_final_stats=1 \
    "$work/corpus-$target" "$work/seeds/$target"
done
