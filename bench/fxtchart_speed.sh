#!/usr/bin/env bash
# How long fxtchart takes to draw the largest template (255 attributes, 255
# parameters of 255 stops each, 4.3 MB), beside parse and fxtlint's check
# (which the chart's diagnostics come from) on the same file in the same run: the median and the best wall time of several runs of each, the
# best CPU time (user and system; on a busy machine it strays less than
# the wall time), the ratio of the medians, and the page's size.
#   bench/fxtchart_speed.sh BIN_DIR [RUNS]
# BIN_DIR holds parse, fxtlint, fxtchart and fxtgen, best from the release
# preset.
set -euo pipefail
bin=$(realpath "$1")
runs=${2:-21}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/fxtgen" full-lists 0 >"$work/largest.fxt"
cat "$work/largest.fxt" >/dev/null  # in the page cache for both

# times RUNS COMMAND...: the median and best wall times and the best CPU
# time of RUNS runs, in ms.
times() {
  local count=$1 walls=() cpus=()
  shift
  for _ in $(seq 1 "$count"); do
    local start end cpu
    start=$(date +%s%N)
    cpu=$( { TIMEFORMAT='%3U %3S'; time "$@" >/dev/null; } 2>&1 | awk '{print ($1 + $2) * 1000}')
    end=$(date +%s%N)
    walls+=($(((end - start) / 1000)))
    cpus+=("$cpu")
  done
  printf '%s\n' "${walls[@]}" | sort -n |
    awk '{a[NR]=$1} END {printf "%.1f %.1f", a[int((NR+1)/2)]/1000, a[1]/1000}'
  printf ' %s\n' "$(printf '%s\n' "${cpus[@]}" | sort -n | head -1)"
}

chart() { "$bin/fxtchart" "$work/largest.fxt" -o "$work/largest.html"; }
check() { "$bin/fxtlint" -f quiet "$work/largest.fxt" || true; }

printf '%-10s %10s %10s %10s\n' program "median ms" "best ms" "best CPU"
read -r parse_median parse_best parse_cpu < <(times "$runs" "$bin/parse" "$work/largest.fxt")
printf '%-10s %10s %10s %10s\n' parse "$parse_median" "$parse_best" "$parse_cpu"
read -r lint_median lint_best lint_cpu < <(times "$runs" check)
printf '%-10s %10s %10s %10s\n' fxtlint "$lint_median" "$lint_best" "$lint_cpu"
read -r chart_median chart_best chart_cpu < <(times "$runs" chart)
printf '%-10s %10s %10s %10s\n' fxtchart "$chart_median" "$chart_best" "$chart_cpu"
echo "fxtchart / parse: $(awk "BEGIN {printf \"%.2f\", $chart_median / $parse_median}") (medians)"
echo "page: $(stat -c %s "$work/largest.html") bytes"
