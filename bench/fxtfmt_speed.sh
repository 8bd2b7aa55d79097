#!/usr/bin/env bash
# How long fxtfmt takes on a 10 MB template beside parse on the same file, in
# the same run: the median of several runs of each, in wall and in processor
# time, and their ratios. Three
# files: the realistic input laid out already (fxtfmt changes nothing), as
# generated (its stop lines change), and written carelessly (indents gone,
# keywords in capitals, no blanks around '=': every line changes).
# With "instructions" as the third argument, the instructions each executes
# (callgrind) are counted as well: on a shared machine they, unlike times,
# do not depend on the load of the other users.
#   bench/fxtfmt_speed.sh BIN_DIR [RUNS] [instructions]
# BIN_DIR holds parse, fxtfmt and fxtgen, best from the release preset.
set -euo pipefail
bin=$(realpath "$1")
runs=${2:-11}
count=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/median_ms.sh"

"$bin/fxtgen" realistic 10000000 >"$work/generated.fxt"
"$bin/fxtfmt" - <"$work/generated.fxt" >"$work/laid-out.fxt"
sed -e 's/^ *//' -e 's/ = /=/' -e 's/^name=/NAME=/' -e 's/^channel=/CHANNEL=/' \
  -e 's/^stop=/STOP=/' "$work/generated.fxt" >"$work/careless.fxt"

# fxtfmt writes the laid-out text to standard output, as an editor asks.
format() { "$bin/fxtfmt" - <"$1"; }

ratio() { awk "BEGIN {printf \"%.2f\", $2 / $1}"; }

# Wall time, and processor time (user and system), which on a shared
# machine is the steadier of the two.
printf '%-12s %10s %10s %6s %10s %10s %6s\n' input "parse ms" "fxtfmt ms" ratio \
  "parse cpu" "fxtfmt cpu" ratio
for kind in laid-out generated careless; do
  file=$work/$kind.fxt
  cat "$file" >/dev/null  # in the page cache for both
  parse=$(median_ms "$runs" "$bin/parse" "$file")
  fxtfmt=$(median_ms "$runs" format "$file")
  parseCpu=$(median_cpu_ms "$runs" "$bin/parse" "$file")
  fxtfmtCpu=$(median_cpu_ms "$runs" format "$file")
  printf '%-12s %10s %10s %6s %10s %10s %6s\n' "$kind" "$parse" "$fxtfmt" \
    "$(ratio "$parse" "$fxtfmt")" "$parseCpu" "$fxtfmtCpu" "$(ratio "$parseCpu" "$fxtfmtCpu")"
done

# The instructions a command executes, as callgrind counts them.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    awk '/refs:/ {gsub(",", "", $NF); print $NF}'
}

if [[ $count == instructions ]]; then
  printf '\n%-12s %14s %14s %8s\n' input "parse instr" "fxtfmt instr" ratio
  for kind in laid-out generated careless; do
    file=$work/$kind.fxt
    parse=$(instructions "$bin/parse" "$file")
    fxtfmt=$(instructions "$bin/fxtfmt" - <"$file")
    printf '%-12s %14s %14s %8s\n' "$kind" "$parse" "$fxtfmt" "$(ratio "$parse" "$fxtfmt")"
  done
fi
