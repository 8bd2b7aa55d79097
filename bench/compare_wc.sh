#!/usr/bin/env bash
# How the whole parse process compares with wc -l on the same 10 MB file, in
# the same run, and how much longer parse takes per byte of each input than
# of the realistic one.
#   bench/compare_wc.sh BIN_DIR [ROUNDS]
# BIN_DIR holds parse and fxtgen, best from the release preset. Each round
# runs wc -l and then parse once, and each one's least time is kept: on a
# machine shared with other work a busy spell only ever adds time, and taking
# turns lets it fall on either program, so the least times and their ratio
# wander much less than medians of runs taken one program after the other.
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
  wc_us= parse_us=
  for _ in $(seq 1 "$count"); do
    now=$(wall_us wc -l "$work/$kind.fxt")
    if [ -z "$wc_us" ] || [ "$now" -lt "$wc_us" ]; then wc_us=$now; fi
    now=$(wall_us "$bin/parse" "$work/$kind.fxt")
    if [ -z "$parse_us" ] || [ "$now" -lt "$parse_us" ]; then parse_us=$now; fi
  done
  wc=$(awk "BEGIN {printf \"%.1f\", $wc_us / 1000}")
  parse=$(awk "BEGIN {printf \"%.1f\", $parse_us / 1000}")
  per_byte=$(awk "BEGIN {print $parse / $(wc -c <"$work/$kind.fxt")}")
  [ -z "$realistic_per_byte" ] && realistic_per_byte=$per_byte
  printf '%-24s %10s %10s %8s %12s\n' "$kind" "$wc" "$parse" \
    "$(awk "BEGIN {printf \"%.1f\", $parse / $wc}")" \
    "$(awk "BEGIN {printf \"%.2f\", $per_byte / $realistic_per_byte}")"
done
