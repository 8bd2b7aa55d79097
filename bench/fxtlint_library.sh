#!/usr/bin/env bash
# How long fxtlint takes over a library: 10,000 templates of 5 KB in one
# directory, checked with every rule, its report going to /dev/null. Prints
# the median of several runs, with a warm cache.
#   bench/fxtlint_library.sh BIN_DIR [RUNS] [FILES]
# BIN_DIR holds fxtlint and fxtgen, best from the release preset.
set -euo pipefail
bin=$(realpath "$1")
runs=${2:-5}
files=${3:-10000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/fxtgen" realistic 5000 >"$work/template"
text=$(<"$work/template")
mkdir "$work/library"
for i in $(seq 1 "$files"); do printf '%s\n' "$text" >"$work/library/fixture-$i.fxt"; done

times=()
for _ in $(seq 1 "$runs"); do
  start=$(date +%s%N)
  "$bin/fxtlint" "$work/library" >/dev/null 2>&1 || true  # its findings fail the run
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "fxtlint: $files templates of $(wc -c <"$work/template") bytes in $median ms"
