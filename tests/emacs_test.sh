#!/usr/bin/env bash
# Runs emacs_test.el in batch Emacs with eglot, the server on the PATH.
#   emacs_test.sh SOURCE_DIR BIN_DIR TEMPLATE
set -uo pipefail
command -v emacs >/dev/null || { echo "SKIP: Emacs is not installed"; exit 77; }
emacs --batch --eval '(progn (package-initialize) (kill-emacs (if (require (quote eglot) nil t) 0 1)))' \
  2>/dev/null || { echo "SKIP: eglot is not installed"; exit 77; }
source=$(realpath "$1")
bin=$(realpath "$2")
template=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# "LINE CODE" for each diagnostic, as the test reads flymake's.
expected=$("$bin/fxtlint" -f json --max-diagnostics 0 "$template" 2>/dev/null |
  node -e 'const r = JSON.parse(require("fs").readFileSync(0, "utf8"));
           console.log(r.files[0].diagnostics.map((d) => `${d.line} ${d.code}`).join("\n"))')
PATH="$bin:$PATH" FXT_SOURCE=$source FXT_TEMPLATE=$template FXT_EXPECTED=$expected HOME=$work \
  timeout 60 emacs --batch -l "$source/tests/emacs_test.el" 2>&1 | grep -E '^(FAIL|emacs:)'
exit "${PIPESTATUS[0]}"
