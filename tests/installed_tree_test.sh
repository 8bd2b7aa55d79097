#!/usr/bin/env bash
# Checks what an install put below PREFIX (cmake --install, or the Debian
# package unpacked): the programs run on an installed example, each man page
# is well-formed, carries the version and renders, and the editor files are
# there without what only the repository needs.
#   installed_tree_test.sh PREFIX VERSION PROGRAM...
set -uo pipefail
prefix=$1
version=$2
shift 2
failed=0
fail() {
  echo "$*"
  failed=1
}

# A man page: groff finds nothing to warn about, its title line carries the
# version, and man shows the section given.
check_page() {
  local page=$1 section_shown=$2
  [ -f "$page" ] || { fail "${page#"$prefix"/} not installed"; return; }
  local warnings
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "${page##*/}: $warnings"
  zcat "$page" | head -1 | grep -q "\"fixture tester $version\"" ||
    fail "${page##*/} does not carry version $version: $(zcat "$page" | head -1)"
  if command -v man >/dev/null; then
    local rendered
    rendered=$(MANWIDTH=80 man -l "$page" 2>&1)
    grep -q "$section_shown" <<<"$rendered" || fail "man -l ${page##*/} shows no $section_shown"
  fi
}

for program in "$@"; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program not installed"
  check_page "$prefix/share/man/man1/$program.1.gz" "EXIT STATUS"
done
check_page "$prefix/share/man/man5/fxt.5.gz" "STOP LINES"

example=$prefix/share/doc/fxt/examples/spot-575.fxt
if [ -f "$example" ]; then
  # Whole outputs first: grep -q would stop reading early and break the pipe.
  report=$("$prefix/bin/parse" "$example")
  grep -q 'Template Loaded Successfully...No ErrorsWarrning detected$' <<<"$report" ||
    fail "installed parse does not pass the installed example: $report"
  model=$("$prefix/bin/fxtdump" "$example")
  grep -q '"modelName": "Spot 575"' <<<"$model" || fail "installed fxtdump: $model"
  "$prefix/bin/fxtlint" -f quiet "$example" || fail "installed fxtlint fails the example"
  laid_out=$("$prefix/bin/fxtfmt" - <"$example")
  grep -q '^  stop = (0:31), n, "Shtr Clsd"$' <<<"$laid_out" || fail "installed fxtfmt: $laid_out"
else
  fail "examples not installed"
fi

editors=$prefix/share/fxt/editors
for file in neovim/fxt.lua emacs/fxt-mode.el vim/ftdetect/fxt.vim vim/syntax/fxt.vim \
  vim/compiler/fxtlint.vim helix/languages.toml vscode/package.json vscode/extension.js \
  vscode/syntaxes/fxt.tmLanguage.json; do
  [ -f "$editors/$file" ] || fail "editor file $file not installed"
done
for unwanted in vscode/node_modules vscode/test vscode/.gitignore; do
  [ -e "$editors/$unwanted" ] && fail "$unwanted installed"
done

[ "$failed" = 0 ] && echo "programs, man pages, examples and editor files in $prefix"
exit $failed
