#!/usr/bin/env bash
# Runs vim_test.vim in the real vim, with fxtlint on the PATH.
#   vim_test.sh SOURCE_DIR BIN_DIR
set -uo pipefail
command -v vim >/dev/null || { echo "SKIP: vim is not installed"; exit 77; }
source=$(realpath "$1")
bin=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/sample.fxt" <<'TEMPLATE'
/ A sample for the syntax groups.
fixture
name = "Sample"
attribute
  channel = 65
  homeval = 0x10
parameter
  stop = (m0:255),w,"Pan="
name = "A / B"
version = 1.2
Chan Nel = 5
end
TEMPLATE
cd "$work" || exit 1
PATH="$bin:$PATH" FXT_VIM_DIR="$source/editors/vim" FXT_TEMPLATE=sample.fxt \
  FXT_FAILURES="$work/failures" HOME="$work" timeout 60 \
  vim -Nu NONE -i NONE -es -S "$source/tests/vim_test.vim" </dev/null
status=$?
[ -f "$work/failures" ] && cat "$work/failures"
[ "$status" = 0 ] && echo "vim: filetype, syntax groups and quickfix as expected"
exit $status
