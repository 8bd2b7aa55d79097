#!/usr/bin/env bash
# Every line that fxtlint prints in its gcc format, over every template of
# the whole-program cases, has the form that editors and CI matchers read.
#   gcc_format_test.sh FXTLINT CASES_DIR
set -uo pipefail
fxtlint=$1
cases=$2
output=$("$fxtlint" "$cases" 2>/dev/null)
[ -n "$output" ] || { echo "no diagnostics at all"; exit 1; }
bad=$(grep -v -E '^[^:]+:[0-9]+: (error|warning): .+$' <<<"$output" |
  grep -v -E '^[^:]+: (error|warning): .+$')
if [ -n "$bad" ]; then
  echo "lines not in the gcc format:"
  echo "$bad" | head
  exit 1
fi
echo "$(wc -l <<<"$output") lines in the gcc format"
