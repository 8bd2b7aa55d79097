#!/usr/bin/env bash
# How long fxtimport takes over a library: FIXTURES generated fixture files of
# MODES modes each (3,000 modes by default), every mode converted in one run,
# the templates written to a scratch folder. Prints the median of several
# runs, with a warm cache.
#   bench/fxtimport_library.sh BIN_DIR [RUNS] [FIXTURES] [MODES]
# BIN_DIR holds fxtimport, best from the release preset.
set -euo pipefail
bin=$(realpath "$1")
runs=${2:-5}
fixtures=${3:-1000}
modes=${4:-3}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

node "$here/fixture_library.mjs" "$work/fixtures" "$fixtures" "$modes"
# Wall-clock and processor time: on a busy machine the first waits for the
# processor, the second does not.
TIMEFORMAT='%R %U %S'
wall=()
cpu=()
for _ in $(seq 1 "$runs"); do
  rm -rf "$work/templates"
  mkdir "$work/templates"
  read -r real user system < <({ time "$bin/fxtimport" --all -o "$work/templates" \
    "$work"/fixtures/*/*.json >/dev/null 2>&1; } 2>&1)
  wall+=("$(awk -v t="$real" 'BEGIN {print int(t * 1000)}')")
  cpu+=("$(awk -v u="$user" -v s="$system" 'BEGIN {print int((u + s) * 1000)}')")
done
written=$(find "$work/templates" -name '*.fxt' | wc -l)
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "fxtimport: $written modes of $fixtures fixture files in $(median "${wall[@]}") ms" \
  "($(median "${cpu[@]}") ms of processor time)"
