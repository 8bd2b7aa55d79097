// Every diagnostic stands on the same range in every output: fxtlint's JSON
// (line, column, endLine, endColumn), its SARIF region, the line and column
// of its gcc format, and the range the language server publishes for the
// same file, over every template of the whole-program cases (the server's
// over those in ASCII, where a character is a byte).
//   node ranges_agree_test.mjs FXTLINT SERVER CASES_DIR
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { Client } from "./lsp/lsp_client.mjs";

const [fxtlint, server, cases] = process.argv.slice(2);

function run(args) {
  try {
    return execFileSync(fxtlint, args, { cwd: cases, encoding: "utf8", stdio: ["ignore", "pipe", "ignore"], maxBuffer: 1 << 28 });
  } catch (error) {
    if (error.status !== 1 && error.status !== 2) throw error;
    return error.stdout;
  }
}

let failures = 0;
function fail(message) {
  failures += 1;
  if (failures <= 20) console.log(message);
}

const range = (d) => `${d.line}:${d.column}-${d.endLine}:${d.endColumn}`;
const files = JSON.parse(run(["-f", "json", "--max-diagnostics", "0", "."])).files;
const json = files.flatMap((file) => file.diagnostics.map((d) => `${file.path} ${d.code} ${range(d)}`));

const sarif = JSON.parse(run(["-f", "sarif", "--max-diagnostics", "0", "."])).runs[0].results.map((result) => {
  const location = result.locations[0].physicalLocation;
  const region = location.region;
  return `${decodeURIComponent(location.artifactLocation.uri)} ${result.ruleId} ` +
    range({ line: region.startLine, column: region.startColumn, endLine: region.endLine, endColumn: region.endColumn });
});
const gcc = run(["--max-diagnostics", "0", "."]).split("\n").filter((line) => /^.+?:\d+:\d+: (error|warning): /.test(line))
  .map((line) => /^(.+?):(\d+):(\d+): /.exec(line).slice(1, 4).join(":"));

if (json.length === 0) fail("no diagnostics at all");
if (sarif.length !== json.length) fail(`${sarif.length} SARIF results for ${json.length} JSON diagnostics`);
if (gcc.length !== json.length) fail(`${gcc.length} gcc lines for ${json.length} JSON diagnostics`);
json.forEach((want, i) => {
  if (sarif[i] !== want) fail(`SARIF ${sarif[i]}, JSON ${want}`);
  const [path, , place] = want.split(" ");
  const start = `${path}:${place.split("-")[0]}`;
  if (gcc[i] !== start) fail(`gcc ${gcc[i]}, JSON ${start}`);
});

// The server's ranges count UTF-16 units from 0: in ASCII, bytes less one.
const client = new Client(server);
await client.request("initialize", { processId: null, rootUri: null, capabilities: {} });
client.notify("initialized", {});
let compared = 0;
for (const file of files) {
  const bytes = readFileSync(join(cases, file.path));
  if (bytes.some((byte) => byte > 0x7f) || file.diagnostics.length > 5000) continue;
  const uri = `file:///${compared}.fxt`;
  client.notify("textDocument/didOpen", { textDocument: { uri, languageId: "fxt", version: 1, text: bytes.toString("latin1") } });
  const published = (await client.diagnostics(uri)).params.diagnostics.map((d) =>
    `${d.code} ${range({ line: d.range.start.line + 1, column: d.range.start.character + 1,
      endLine: d.range.end.line + 1, endColumn: d.range.end.character + 1 })}`);
  const want = file.diagnostics.map((d) => `${d.code} ${range(d)}`);
  if (JSON.stringify(published) !== JSON.stringify(want)) {
    fail(`${file.path}: the server has\n  ${published.join("\n  ")}\nfxtlint\n  ${want.join("\n  ")}`);
  }
  compared += 1;
}
await client.request("shutdown", null);
client.notify("exit", null);
await client.exited;
if (compared < 50) fail(`only ${compared} files compared with the server`);
console.log(`${json.length} ranges agree in JSON, SARIF and gcc; ${compared} files with the server`);
process.exit(failures === 0 ? 0 : 1);
