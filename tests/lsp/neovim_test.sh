#!/usr/bin/env bash
# Runs neovim_test.lua, or the script named, in a headless Neovim against a
# template.
#   neovim_test.sh SERVER FXTLINT TEMPLATE SOURCE_DIR [SCRIPT]
set -uo pipefail
command -v nvim >/dev/null || { echo "SKIP: Neovim is not installed"; exit 77; }
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$2" -f json --max-diagnostics 0 "$3" >"$work/expected.json" 2>/dev/null
PATH="$(dirname "$(realpath "$1")"):$PATH" FXT_CONFIG=$(realpath "$4")/editors/neovim/fxt.lua \
  FXT_EXPECTED=$work/expected.json FXT_TEMPLATE=$(realpath "$3") \
  HOME=$work XDG_STATE_HOME=$work XDG_CACHE_HOME=$work timeout 60 \
  nvim --headless --clean -c "luafile $here/${5:-neovim_test.lua}" || exit 1
# Another script than the main one stops here.
[ -n "${5:-}" ] && exit 0
# Without the server on PATH.
mkdir "$work/bin" && ln -s "$(command -v nvim)" "$work/bin/nvim"
config=$(realpath "$4")/editors/neovim/fxt.lua
template=$(realpath "$3")
timeout=$(command -v timeout)
PATH="$work/bin" FXT_NO_SERVER=1 FXT_CONFIG=$config FXT_TEMPLATE=$template \
  HOME=$work XDG_STATE_HOME=$work XDG_CACHE_HOME=$work \
  "$timeout" 60 "$work/bin/nvim" --headless --clean -c "luafile $here/neovim_test.lua"
