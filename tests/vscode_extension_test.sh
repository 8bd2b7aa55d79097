#!/usr/bin/env bash
# The VS Code extension: its TextMate grammar passes vscode-tmgrammar-test
# on the annotated templates of editors/vscode/test, and it packages with
# @vscode/vsce into a .vsix that holds the language, the grammar and the
# client, and whose commands are the ones it registers. The npm packages
# come from the registry (npm ci) on first use.
#   vscode_extension_test.sh SOURCE_DIR WORK_DIR
set -uo pipefail
source=$(realpath "$1")/editors/vscode
work=$2
command -v npm >/dev/null || { echo "SKIP: npm is not installed"; exit 77; }
mkdir -p "$work"
# The extension's own files, fresh; its node_modules kept between runs.
find "$work" -mindepth 1 -maxdepth 1 ! -name node_modules -exec rm -rf {} +
cp -r "$source/." "$work/"
cd "$work" || exit 1
if [ ! -d node_modules/vscode-tmgrammar-test ] || ! cmp -s package-lock.json node_modules/.package-lock.json.copy; then
  npm ci --no-audit --no-fund --loglevel=error || exit 1
  cp package-lock.json node_modules/.package-lock.json.copy
fi
npx vscode-tmgrammar-test -g syntaxes/fxt.tmLanguage.json "test/*.fxt" || exit 1
# As the extension's README tells: npm run package writes fxt.vsix.
rm -f ./*.vsix
npm run --silent package >/dev/null || exit 1
[ "$(ls ./*.vsix)" = ./fxt.vsix ] || { echo "npm run package wrote $(ls ./*.vsix)"; exit 1; }
contents=$(unzip -l fxt.vsix)
for file in extension/package.json extension/extension.js extension/language-configuration.json \
  extension/syntaxes/fxt.tmLanguage.json extension/node_modules/vscode-languageclient/package.json; do
  grep -q " $file\$" <<<"$contents" || { echo "fxt.vsix lacks $file"; exit 1; }
done
# Each command the extension contributes is one it registers, and none is
# one the server offers (the client registers those itself).
node -e '
const fs = require("fs");
const contributed = JSON.parse(fs.readFileSync("package.json", "utf8")).contributes.commands.map((c) => c.command);
const code = fs.readFileSync("extension.js", "utf8");
const registered = [...code.matchAll(/registerCommand\((\w+)/g)].map(([, name]) =>
  new RegExp(`const ${name} = "([^"]+)"`).exec(code)[1]);
if (JSON.stringify(contributed.sort()) !== JSON.stringify(registered.sort()) || contributed.includes("fxt.showChart")) {
  console.log(`contributed ${contributed}, registered ${registered}`);
  process.exit(1);
}' || exit 1
grep -q 'test/all-scopes.fxt' <<<"$contents" && { echo "fxt.vsix holds the tests"; exit 1; }
echo "the grammar's tests pass and fxt.vsix packages"
