#!/usr/bin/env bash
# The pages stay small: the largest template (255 attributes, 255
# parameters of 255 stops each) draws a page under 5 MB, a 20-channel
# fixture one under 50 KB. The time the largest takes is printed.
#   size_test.sh FXTCHART FXTGEN TWENTY_CHANNELS.fxt
set -uo pipefail
fxtchart=$1
fxtgen=$2
twenty=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

"$fxtgen" full-lists 0 >"$work/largest.fxt" || exit 1
started=$(date +%s%N)
"$fxtchart" "$work/largest.fxt" -o "$work/largest.html" || { echo "fxtchart failed on the largest"; exit 1; }
milliseconds=$((($(date +%s%N) - started) / 1000000))
grep -q 'parameter 255 ' "$work/largest.html" || { echo "the largest page lacks parameter 255"; failed=1; }

check_size() {
  local page=$1 most=$2 size
  size=$(stat -c %s "$page")
  if [ "$size" -ge "$most" ]; then
    echo "${page##*/}: $size bytes, not under $most"
    failed=1
  else
    echo "${page##*/}: $size bytes (under $most)"
  fi
}
check_size "$work/largest.html" $((5 * 1000 * 1000))
"$fxtchart" "$twenty" -o "$work/twenty-channels.html" || exit 1
check_size "$work/twenty-channels.html" $((50 * 1000))
echo "the largest page took $milliseconds ms"
exit $failed
