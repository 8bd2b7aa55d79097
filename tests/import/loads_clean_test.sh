#!/usr/bin/env bash
# Every mode of every fixture file below FIXTURES, imported, loads clean: parse
# reports neither an error nor a warning, and fxtlint (its rules included)
# finds nothing, warnings counted as errors. Where fxtfmt is built beside
# them, each is in its layout already.
#   loads_clean_test.sh BIN_DIR FIXTURES
set -uo pipefail
bin=$(realpath "$1")
fixtures=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
count=0
while IFS= read -r -d '' fixture; do
  if ! "$bin/fxtimport" --all -o "$work" "$fixture" >"$work/written" 2>"$work/stderr"; then
    echo "fxtimport refused $fixture:"
    cat "$work/stderr"
    failed=1
  fi
done < <(find "$fixtures" -name '*.json' ! -name manufacturers.json -print0 | sort -z)

clean='Template Loaded Successfully...No ErrorsWarrning detected'
for template in "$work"/*.fxt; do
  count=$((count + 1))
  verdict=$("$bin/parse" "$template" | tail -n 1)
  if [ "$verdict" != "$clean" ]; then
    echo "$(basename "$template") does not load clean:"
    "$bin/parse" "$template" | tail -n +5
    failed=1
  fi
done
if ! "$bin/fxtlint" --werror "$work" >"$work/lint" 2>&1; then
  cat "$work/lint"
  failed=1
fi
laid_out=""
if [ -x "$bin/fxtfmt" ]; then
  if ! "$bin/fxtfmt" --diff "$work" >"$work/layout" 2>&1; then
    echo "imported templates not in fxtfmt's layout:"
    cat "$work/layout"
    failed=1
  fi
  laid_out=", in fxtfmt's layout"
fi
[ "$count" -gt 0 ] || { echo "no template was written"; failed=1; }
[ "$failed" = 0 ] && echo "$count imported templates load clean$laid_out"
exit $failed
