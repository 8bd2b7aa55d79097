#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the man pages, and runs
# the installed programs on an installed example.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for program in parse fxtdump fxtlint fxt-language-server; do
  [ -x "$prefix/bin/$program" ] || { echo "bin/$program not installed"; exit 1; }
  page="$prefix/share/man/man1/$program.1"
  [ -f "$page" ] || { echo "man page of $program not installed"; exit 1; }
  warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
  [ -z "$warnings" ] || { echo "$program.1: $warnings"; exit 1; }
  if command -v man >/dev/null; then
    rendered=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
    grep -q "EXIT STATUS" <<<"$rendered" || { echo "man -l $program.1 shows no EXIT STATUS"; exit 1; }
  fi
done

# The template language's page: man 5 fxt.
page="$prefix/share/man/man5/fxt.5"
[ -f "$page" ] || { echo "fxt(5) not installed"; exit 1; }
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
[ -z "$warnings" ] || { echo "fxt.5: $warnings"; exit 1; }
if command -v man >/dev/null; then
  MANPATH="$prefix/share/man" MANWIDTH=80 man 5 fxt 2>/dev/null | grep -q "STOP LINES" ||
    { echo "man 5 fxt shows no STOP LINES"; exit 1; }
fi

example=$(find "$prefix/share/doc" -name spot-575.fxt)
[ -n "$example" ] || { echo "examples not installed"; exit 1; }
# Whole outputs first: grep -q would stop reading early and break the pipe.
report=$("$prefix/bin/parse" "$example")
grep -q 'Template Loaded Successfully...No ErrorsWarrning detected$' <<<"$report"
model=$("$prefix/bin/fxtdump" "$example")
grep -q '"modelName": "Spot 575"' <<<"$model"
"$prefix/bin/fxtlint" -f quiet "$example"
"$prefix/bin/fxt-language-server" --version | grep -q '^fxt-language-server '
echo "installed into $prefix: programs, man pages and examples work"
