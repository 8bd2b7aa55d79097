// Every diagnostic stands on the same range in every output: fxtlint's JSON
// (line, column, endLine, endColumn), its SARIF region, the line and column
// of its gcc format, and the range the language server publishes for the
// same file, in either encoding the server may agree on, over every template
// of the whole-program cases.
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
const files = JSON.parse(run(["--no-config", "-f", "json", "--max-diagnostics", "0", "."])).files;
const json = files.flatMap((file) => file.diagnostics.map((d) => `${file.path} ${d.code} ${range(d)}`));

const sarif = JSON.parse(run(["--no-config", "-f", "sarif", "--max-diagnostics", "0", "."])).runs[0].results.map((result) => {
  const location = result.locations[0].physicalLocation;
  const region = location.region;
  return `${decodeURIComponent(location.artifactLocation.uri)} ${result.ruleId} ` +
    range({ line: region.startLine, column: region.startColumn, endLine: region.endLine, endColumn: region.endColumn });
});
const gcc = run(["--no-config", "--max-diagnostics", "0", "."]).split("\n").filter((line) => /^.+?:\d+:\d+: (error|warning): /.test(line))
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

// The server reads each file as Latin-1 text, one character per byte, and
// counts its positions from 0 in the encoding it agreed on: UTF-16 (one unit
// per character here) unless the client offers UTF-8, where a character
// above U+007F takes two.
function unitsBefore(lines, line, column, encoding) {
  const text = lines[line - 1] ?? "";
  const before = Buffer.from(text.slice(0, column - 1), "latin1");
  if (encoding === "utf-16") return column - 1;
  return column - 1 + before.filter((byte) => byte > 0x7f).length;
}

async function compareWithServer(encoding) {
  const client = new Client(server);
  const general = encoding === "utf-8" ? { positionEncodings: ["utf-8", "utf-16"] } : {};
  const reply = await client.request("initialize", { processId: null, rootUri: null, capabilities: { general } });
  if ((reply.result.capabilities.positionEncoding ?? "utf-16") !== encoding) {
    fail(`the server chose ${reply.result.capabilities.positionEncoding} over ${encoding}`);
  }
  client.notify("initialized", {});
  let compared = 0;
  let wide = 0;
  for (const file of files) {
    const bytes = readFileSync(join(cases, file.path));
    if (file.diagnostics.length > 5000) continue;
    const text = bytes.toString("latin1");
    const lines = text.split(/\r\n|\r|\n/);
    const uri = `file:///${compared}.fxt`;
    client.notify("textDocument/didOpen", { textDocument: { uri, languageId: "fxt", version: 1, text } });
    const published = (await client.diagnostics(uri)).params.diagnostics.map((d) =>
      `${d.code} ${d.range.start.line}:${d.range.start.character}-${d.range.end.line}:${d.range.end.character}`);
    // Read as Latin-1, no character is above U+00FF: the server finds none
    // of what fxtlint reports as FL113 in a file that is valid UTF-8.
    const want = file.diagnostics.filter((d) => d.code !== "FL113").map((d) => `${d.code} ${d.line - 1}:${unitsBefore(lines, d.line, d.column, encoding)}-` +
      `${d.endLine - 1}:${unitsBefore(lines, d.endLine, d.endColumn, encoding)}`);
    if (JSON.stringify(published) !== JSON.stringify(want)) {
      fail(`${file.path} in ${encoding}: the server has\n  ${published.join("\n  ")}\nfxtlint\n  ${want.join("\n  ")}`);
    }
    compared += 1;
    if (bytes.some((byte) => byte > 0x7f)) wide += 1;
  }
  await client.request("shutdown", null);
  client.notify("exit", null);
  await client.exited;
  if (compared < 50 || wide < 5) fail(`only ${compared} files compared with the server, ${wide} of them beyond ASCII`);
  return compared;
}

const compared = [await compareWithServer("utf-16"), await compareWithServer("utf-8")];
console.log(`${json.length} ranges agree in JSON, SARIF and gcc; ${compared.join(" and ")} files with the server in UTF-16 and UTF-8`);
process.exit(failures === 0 ? 0 : 1);
