#!/usr/bin/env bash
# The lint rules make no noise: none fires on a shipped example, on the
# sound templates of tests/rules_corpus (one of every common kind of
# fixture, each clean to the tester), nor on a template of the whole-program
# cases that the tester finds clean, but for the cases that exist to show
# what the tester misses, where exactly the rules named fire.
#   rules_noise_test.sh BIN_DIR SOURCE_DIR
set -uo pipefail
bin=$(realpath "$1")
source=$(realpath "$2")
failed=0

# The cases that the tester finds clean and a rule does not.
declare -A expected=(
  [tests/cli/driver/comments-and-blank-lines.fxt]="FL102"
  [tests/cli/driver/empty-file.fxt]="FL102"
  [tests/cli/driver/ff-byte-before-end.fxt]="FL101 FL111"
  [tests/cli/header/template-without-end.fxt]="FL101"
  [tests/cli/reader/keyword-case-and-blanks.fxt]="FL101"
  [tests/cli/attribute/intensity-by-name-is-case-sensitive.fxt]="FL107"
  [tests/cli/stop/stop-forms-that-load-cleanly.fxt]="FL116"
)

codes_of() {
  "$bin/fxtlint" --no-config --select FL "$1" 2>/dev/null | grep -oE '\[FL[0-9]+\]$' | tr -d '[]' |
    sort -u | tr '\n' ' ' | sed 's/ $//'
}

cd "$source" || exit 2
for example in examples/*.fxt; do
  [ "$example" = examples/typical-mistakes.fxt ] && continue
  codes=$(codes_of "$example")
  [ -z "$codes" ] || { echo "$example: $codes"; failed=1; }
done
sound=0
for template in tests/rules_corpus/*.fxt; do
  sound=$((sound + 1))
  "$bin/parse" "$template" | grep -q 'No ErrorsWarrning detected' ||
    { echo "$template: the tester does not find it clean"; failed=1; }
  codes=$(codes_of "$template")
  [ -z "$codes" ] || { echo "$template: $codes"; failed=1; }
done
[ "$sound" -ge 6 ] || { echo "only $sound sound templates found"; failed=1; }
checked=0
while IFS= read -r verdict; do
  template=${verdict%.out}.fxt
  [ -f "$template" ] || continue
  checked=$((checked + 1))
  codes=$(codes_of "$template")
  want=${expected[$template]:-}
  [ "$codes" = "$want" ] || { echo "$template: rules '$codes', expected '$want'"; failed=1; }
done < <(grep -rl --include=*.out 'No ErrorsWarrning detected' tests/cli)
[ "$checked" -gt 10 ] || { echo "only $checked clean templates found"; failed=1; }
[ "$failed" = 0 ] &&
  echo "no rule fires on the examples, $sound sound templates or $checked clean cases"
exit $failed
