#!/usr/bin/env bash
# Runs one whole-program case and compares its stdout, byte for byte, and its
# exit status with the expected ones.
#   run_case.sh BIN_DIR CASE.out
# The case's files sit beside CASE.out:
#   CASE.fxt      the template, run as `parse CASE.fxt` from the case's folder
#   CASE.args     instead: the arguments, one line (may be empty)
#   CASE.gen      instead: a script whose output is the template
#   CASE.status   the exit status when it is not 0
#   CASE.program  the program when it is not parse (or a file "program"
#                 beside the cases names it for the whole folder)
#   CASE.err      the exact stderr, when it matters
#   CASE.stdin    the standard input (else it is empty)
#   CASE.needs    the optional parts of the build it needs, one a line
#                 (tomlplusplus): without them it is skipped
set -u
bin_dir=$1
expected=$2
dir=$(dirname "$expected")
name=$(basename "$expected" .out)
cd "$dir" || exit 2
expected_err=$PWD/$name.err
stdin=/dev/null
[ -f "$name.stdin" ] && stdin=$PWD/$name.stdin

program=parse
[ -f program ] && program=$(<program)
[ -f "$name.program" ] && program=$(<"$name.program")
want_status=0
[ -f "$name.status" ] && want_status=$(<"$name.status")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -f "$name.args" ]; then
  read -r -a args <"$name.args" || true
elif [ -f "$name.gen" ]; then
  bash "$name.gen" >"$work/$name.fxt"
  cd "$work" || exit 2
  args=("$name.fxt")
else
  args=("$name.fxt")
fi

"$bin_dir/$program" "${args[@]+"${args[@]}"}" <"$stdin" >"$work/actual" 2>"$work/stderr"
status=$?

failed=0
if ! cmp -s "$work/actual" "$expected"; then
  echo "stdout differs from $name.out:"
  diff <(od -c "$expected") <(od -c "$work/actual") | head -40
  failed=1
fi
if [ -f "$expected_err" ] && ! cmp -s "$work/stderr" "$expected_err"; then
  echo "stderr differs from $name.err:"
  diff "$expected_err" "$work/stderr" | head -20
  failed=1
fi
if [ "$status" != "$want_status" ]; then
  echo "exit status $status, expected $want_status"
  failed=1
fi
exit $failed
