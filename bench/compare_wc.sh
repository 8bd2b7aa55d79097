#!/usr/bin/env bash
# How the whole parse process compares with wc -l on the same 10 MB file, in
# the same run: the median of several runs of each, and their ratio; and how
# much longer parse takes per byte of each input than of the realistic one.
#   bench/compare_wc.sh BIN_DIR [RUNS]
# BIN_DIR holds parse and fxtgen, best from the release preset.
set -euo pipefail
bin=$(realpath "$1")
runs=${2:-11}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/median_ms.sh"

printf '%-24s %10s %10s %8s %12s\n' input "wc -l ms" "parse ms" ratio "per byte, x"
realistic_per_byte=
for kind in realistic many-fixtures full-lists long-lines far-end-of-full-lists \
  replaced-parameters repeated-reports; do
  "$bin/fxtgen" "$kind" 10000000 >"$work/$kind.fxt"
  cat "$work/$kind.fxt" >/dev/null  # in the page cache for both
  # repeated-reports prints 22 GB: one run of it says enough.
  count=$runs
  [ "$kind" = repeated-reports ] && count=1
  wc=$(median_ms "$count" wc -l "$work/$kind.fxt")
  parse=$(median_ms "$count" "$bin/parse" "$work/$kind.fxt")
  per_byte=$(awk "BEGIN {print $parse / $(wc -c <"$work/$kind.fxt")}")
  [ -z "$realistic_per_byte" ] && realistic_per_byte=$per_byte
  printf '%-24s %10s %10s %8s %12s\n' "$kind" "$wc" "$parse" \
    "$(awk "BEGIN {printf \"%.1f\", $parse / $wc}")" \
    "$(awk "BEGIN {printf \"%.2f\", $per_byte / $realistic_per_byte}")"
done
