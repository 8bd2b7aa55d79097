#!/usr/bin/env bash
# fxtimport's test fixtures follow the open fixture library's format: each is
# valid against the library's JSON schemas, checked by a real validator.
#   schema_test.sh SCHEMAS_DIR FIXTURES_DIR NODE_DIR
# NODE_DIR receives the validator (npm ci from tests/import/schema) on first use.
set -uo pipefail
schemas=$1
fixtures=$(realpath "$2")
node_dir=$3
here=$(dirname "$(realpath "$0")")/schema
[ -d "$schemas" ] || { echo "SKIP: the library's schemas are not at $schemas"; exit 77; }
command -v npm >/dev/null || { echo "SKIP: npm is not installed"; exit 77; }
if [ ! -d "$node_dir/node_modules/ajv-formats" ]; then
  mkdir -p "$node_dir"
  cp "$here/package.json" "$here/package-lock.json" "$node_dir/"
  (cd "$node_dir" && npm ci --no-audit --no-fund --loglevel=error) || exit 1
fi
# The script imports the validator: it runs beside the node_modules.
cp "$here/validate.mjs" "$node_dir/"
node "$node_dir/validate.mjs" "$(realpath "$schemas")" "$fixtures"
