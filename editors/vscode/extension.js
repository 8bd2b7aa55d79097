// Starts fxt-language-server for fixture templates and connects VS Code to
// it: diagnostics, outline, hover, completion and definitions.
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");

let client;

function activate(context) {
  const command = vscode.workspace.getConfiguration("fxt").get("server.path", "fxt-language-server");
  client = new LanguageClient(
    "fxt",
    "Fixture templates",
    { command, args: ["--stdio"] },
    { documentSelector: [{ language: "fxt" }] },
  );
  context.subscriptions.push({ dispose: () => client && client.stop() });
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
