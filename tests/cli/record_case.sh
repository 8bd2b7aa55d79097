#!/usr/bin/env bash
# Records what the programs print today as the expected output of new cases;
# read every recorded file before committing it.
#   record_case.sh BIN_DIR CASE.fxt|CASE.args|CASE.gen ...
set -u
bin_dir=$(realpath "$1")
shift
for input in "$@"; do
  dir=$(dirname "$input")
  base=$(basename "$input")
  name=${base%.*}
  (
    cd "$dir" || exit 1
    program=parse
[ -f program ] && program=$(<program)
    [ -f "$name.program" ] && program=$(<"$name.program")
    if [ -f "$name.args" ]; then
      read -r -a args <"$name.args" || true
      stdin=/dev/null
      [ -f "$name.stdin" ] && stdin=$name.stdin
      "$bin_dir/$program" "${args[@]+"${args[@]}"}" <"$stdin" >"$name.out" 2>"$name.err"
    elif [ -f "$name.gen" ]; then
      work=$(mktemp -d)
      bash "$name.gen" >"$work/$name.fxt"
      (cd "$work" && "$bin_dir/$program" "$name.fxt") >"$name.out" 2>"$name.err"
      status=$?
      rm -rf "$work"
      (exit $status)
    else
      "$bin_dir/$program" "$name.fxt" >"$name.out" 2>"$name.err"
    fi
    status=$?
    [ -s "$name.err" ] || rm -f "$name.err"
    rm -f "$name.status"
    [ "$status" != 0 ] && echo "$status" >"$name.status"
    echo "recorded $dir/$name (status $status)"
  )
done
