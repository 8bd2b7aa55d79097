#!/usr/bin/env bash
# fxtlint's SARIF output, over every template of the whole-program cases and
# over paths that cannot be checked, passes two real validators: the SARIF
# multitool (schema and SARIF's own rules) and a strict JSON-schema check
# against the published SARIF 2.1.0 schema.
#   sarif_test.sh FXTLINT CASES_DIR NODE_DIR
# NODE_DIR receives the validators (npm ci from tests/sarif) on first use.
set -uo pipefail
fxtlint=$(realpath "$1")
cases=$(realpath "$2")
node_dir=$3
here=$(dirname "$(realpath "$0")")/sarif
command -v npm >/dev/null || { echo "SKIP: npm is not installed"; exit 77; }
if [ ! -d "$node_dir/node_modules/ajv" ]; then
  mkdir -p "$node_dir"
  cp "$here/package.json" "$here/package-lock.json" "$node_dir/"
  (cd "$node_dir" && npm ci --no-audit --no-fund --loglevel=error) || exit 1
fi
multitool=$node_dir/node_modules/@microsoft/sarif-multitool-linux/Sarif.Multitool
chmod u+x "$multitool"
schema=$node_dir/node_modules/@microsoft/sarif-multitool-linux/sarif-2.1.0.json

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$cases" && "$fxtlint" --no-config -f sarif . >"$work/cases.sarif" 2>/dev/null)
(cd "$cases/fxtlint" && "$fxtlint" -f sarif --max-diagnostics 1 --werror library \
  no-such-template.fxt empty-directory >"$work/problems.sarif" 2>/dev/null)
grep -q '"ruleId"' "$work/cases.sarif" || { echo "no results at all"; exit 1; }

failed=0
# The script imports the validator: it runs beside the node_modules.
cp "$here/validate.mjs" "$node_dir/"
node "$node_dir/validate.mjs" "$schema" "$work"/*.sarif || failed=1
for log in "$work"/*.sarif; do
  report=$("$multitool" validate --json-schema "$schema" "$log" 2>&1)
  grep -q 'Done. 1 files scanned' <<<"$report" || { echo "$log was not analysed: $report"; failed=1; }
  unexpected=$(grep -E ': (error|warning) ' <<<"$report")
  [ -z "$unexpected" ] || { echo "$unexpected"; failed=1; }
done
# The multitool's own rules ran: the same log without the tool's
# informationUri draws the finding that says so.
sed '/"informationUri"/d' "$work/cases.sarif" >"$work/without-uri.json"
"$multitool" validate --json-schema "$schema" "$work/without-uri.json" 2>&1 | grep -q SARIF2005 ||
  { echo "the multitool's rules did not run"; failed=1; }
[ "$failed" = 0 ] && echo "SARIF logs valid"
exit $failed
