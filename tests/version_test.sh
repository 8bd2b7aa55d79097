#!/usr/bin/env bash
# Every program answers --version with one line, "PROGRAM VERSION", on
# standard output, nothing on standard error and exit status 0, the version
# being the project's.
#   version_test.sh BIN_DIR VERSION PROGRAM...
set -uo pipefail
bin=$1
version=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for program in "$@"; do
  printf '%s %s\n' "$program" "$version" >"$work/expected"
  "$bin/$program" --version >"$work/out" 2>"$work/err"
  status=$?
  if ! cmp -s "$work/out" "$work/expected" || [ "$status" != 0 ] || [ -s "$work/err" ]; then
    echo "$program --version: '$(cat "$work/out")', status $status, stderr '$(cat "$work/err")';" \
      "expected '$program $version'"
    failed=1
  fi
done
[ "$failed" = 0 ] && echo "$* answer --version with $version"
exit $failed
