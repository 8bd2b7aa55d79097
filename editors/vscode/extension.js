// Starts fxt-language-server for fixture templates and connects VS Code to
// it: diagnostics, outline, hover, completion and definitions; and the
// command "fxt: Show DMX chart", a page beside the template that the server
// draws (its request fxt/chart) and redraws on each change.
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");

// The server advertises fxt.showChart, which the client registers for it;
// the editor's own command takes another name.
const SHOW_CHART = "fxt.showDmxChart";
const REDRAW_DELAY_MS = 300;

let client;
const charts = new Map(); // document URI -> { panel, timer }

async function redraw(uri) {
  const chart = charts.get(uri);
  if (!chart) return;
  try {
    const answer = await client.sendRequest("fxt/chart", { textDocument: { uri } });
    if (answer && charts.get(uri) === chart) chart.panel.webview.html = answer.html;
  } catch (error) {
    vscode.window.showErrorMessage(`fxt: the DMX chart could not be drawn: ${error.message}`);
  }
}

function showChart() {
  const editor = vscode.window.activeTextEditor;
  if (!editor || editor.document.languageId !== "fxt") {
    vscode.window.showInformationMessage("fxt: open a fixture template to see its DMX chart");
    return;
  }
  const uri = editor.document.uri.toString();
  const open = charts.get(uri);
  if (open) {
    open.panel.reveal(vscode.ViewColumn.Beside, true);
    return;
  }
  const title = `DMX chart: ${editor.document.fileName.split(/[\\/]/).pop()}`;
  // The page needs no script; its links lead within it.
  const panel = vscode.window.createWebviewPanel("fxtChart", title,
    { viewColumn: vscode.ViewColumn.Beside, preserveFocus: true },
    { enableScripts: false, enableFindWidget: true, localResourceRoots: [] });
  charts.set(uri, { panel, timer: undefined });
  panel.onDidDispose(() => {
    clearTimeout(charts.get(uri)?.timer);
    charts.delete(uri);
  });
  redraw(uri);
}

function redrawLater(event) {
  const uri = event.document.uri.toString();
  const chart = charts.get(uri);
  if (!chart) return;
  clearTimeout(chart.timer);
  chart.timer = setTimeout(() => redraw(uri), REDRAW_DELAY_MS);
}

function activate(context) {
  const command = vscode.workspace.getConfiguration("fxt").get("server.path", "fxt-language-server");
  client = new LanguageClient(
    "fxt",
    "Fixture templates",
    { command, args: ["--stdio"] },
    { documentSelector: [{ language: "fxt" }] },
  );
  context.subscriptions.push(
    { dispose: () => client && client.stop() },
    vscode.commands.registerCommand(SHOW_CHART, showChart),
    vscode.workspace.onDidChangeTextDocument(redrawLater),
  );
  return client.start();
}

function deactivate() {
  for (const { panel } of charts.values()) panel.dispose();
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
