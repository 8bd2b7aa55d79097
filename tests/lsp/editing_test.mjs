// The language server's help with writing a template, through the protocol:
// formatting (held to fxtfmt and to what parse reports), folding ranges,
// semantic tokens and document highlights, on the examples and on broken
// templates, whose errors must cost nothing after them.
//   node editing_test.mjs SERVER PARSE FXTFMT EXAMPLES_DIR
import { execFileSync, spawnSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync, mkdirSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import assert from "node:assert/strict";
import { open, runTests, started as startedServer, stopped } from "./lsp_client.mjs";

const [server, parse, fxtfmt, examples] = process.argv.slice(2);
const tests = [];
const test = (name, body) => tests.push({ name, body });
const started = (capabilities) => startedServer(server, capabilities);
const example = (name) => readFileSync(`${examples}/${name}`, "utf8");
const templates = readdirSync(examples).filter((name) => name.endsWith(".fxt")).sort();

// A template whose version line (3) is wrong: everything after it is read all
// the same, by the tester's tolerant load.
const broken = example("strobe.fxt").replace(/^version = .*$/m, "version = 1,2")
  .replace(/^(\s*)channel = 1$/m, "CHANNEL=1   ").replace(/^attribute$/m, "   attribute");

// The text with the edits applied; positions count UTF-16 units, as JavaScript
// strings do, on lines that end at "\n", "\r\n" or "\r".
function applied(text, edits) {
  const starts = [0];
  for (const match of text.matchAll(/\r\n|\n|\r/g)) starts.push(match.index + match[0].length);
  const offset = ({ line, character }) =>
    line >= starts.length ? text.length : Math.min(starts[line] + character, text.length);
  const sorted = edits.map((edit) => [offset(edit.range.start), offset(edit.range.end), edit.newText])
    .sort((a, b) => b[0] - a[0]);
  for (let i = 1; i < sorted.length; ++i) assert.ok(sorted[i][1] <= sorted[i - 1][0], "edits overlap");
  for (const [begin, end, newText] of sorted) text = text.slice(0, begin) + newText + text.slice(end);
  return text;
}

// What parse reports for a text, written to a file of one name.
const work = mkdtempSync(join(tmpdir(), "fxt-editing-"));
let runs = 0;
function parseReport(text) {
  const folder = join(work, String(runs++));
  mkdirSync(folder);
  writeFileSync(join(folder, "t.fxt"), text, "latin1");
  const run = spawnSync(parse, ["t.fxt"], { cwd: folder, encoding: "latin1" });
  return [run.stdout, run.status];
}

const typeNames = ["keyword", "enumMember", "string", "number", "enum", "comment"];
const format = (client, uri, options = { tabSize: 2, insertSpaces: true }) =>
  client.request("textDocument/formatting", { textDocument: { uri }, options });

test("initialize advertises formatting, folding, semantic tokens and highlights", async () => {
  const { client, capabilities } = await started();
  for (const provider of ["documentFormattingProvider", "documentRangeFormattingProvider",
    "foldingRangeProvider", "documentHighlightProvider"]) {
    assert.equal(capabilities[provider], true, provider);
  }
  assert.deepEqual(capabilities.documentOnTypeFormattingProvider, { firstTriggerCharacter: "\n" });
  const tokens = capabilities.semanticTokensProvider;
  assert.deepEqual(tokens.legend, { tokenTypes: ["keyword", "enumMember", "string", "number", "enum", "comment"], tokenModifiers: ["error"] });
  assert.deepEqual(tokens.full, { delta: true });
  await stopped(client);
});

test("formatting lays each template out as fxtfmt does, one edit per changed line, and parse reports the same", async () => {
  const { client } = await started();
  for (const [name, text] of [...templates.map((t) => [t, example(t)]), ["broken.fxt", broken]]) {
    const uri = `file:///${name}`;
    await open(client, uri, text);
    const edits = (await format(client, uri)).result;
    for (const edit of edits) {
      const { start, end } = edit.range;
      assert.ok(end.line === start.line || (end.line === start.line + 1 && end.character === 0) ||
        edit.newText === "", `${name}: an edit over several lines: ${JSON.stringify(edit)}`);
    }
    const laidOut = applied(text, edits);
    const expected = execFileSync(fxtfmt, ["--no-config", "-"], { input: text, encoding: "latin1" });
    assert.equal(laidOut, expected, name);
    assert.deepEqual(parseReport(laidOut), parseReport(text), name);
    // Laid out, it stays as it is.
    client.notify("textDocument/didChange", { textDocument: { uri, version: 2 }, contentChanges: [{ text: laidOut }] });
    assert.deepEqual((await format(client, uri)).result, [], `${name} a second time`);
  }
  await stopped(client);
});

test("the broken template is laid out after its error, where the old lines were", async () => {
  const { client } = await started();
  await open(client, "file:///broken.fxt", broken);
  const edits = (await format(client, "file:///broken.fxt")).result;
  const lines = broken.split("\n");
  const channel = lines.indexOf("CHANNEL=1   ");
  const attribute = lines.indexOf("   attribute");
  assert.deepEqual(edits.map((e) => [e.range.start.line, e.newText]),
    [[attribute, "attribute"], [channel, "  channel = 1"]]);
  assert.deepEqual(edits[1].range, { start: { line: channel, character: 0 }, end: { line: channel, character: 12 } });
  await stopped(client);
});

test("the indent is the settings file's, else the tab size from 0 to 8, else 2; range formatting keeps to its lines", async () => {
  const { client } = await started();
  const uri = "file:///indent.fxt";
  const text = "fixture\nname = \"X\"\nattribute\nname=\"PAN\"\nchannel=1\nattribute\nname=\"TILT\"\nchannel=2\n";
  await open(client, uri, text);
  for (const [tabSize, indent] of [[4, "    "], [0, ""], [8, "        "], [9, "  "], [-1, "  "]]) {
    const laidOut = applied(text, (await format(client, uri, { tabSize, insertSpaces: true })).result);
    assert.match(laidOut, new RegExp(`\nattribute\n${indent}name = "PAN"\n`), `tab size ${tabSize}`);
  }
  // The fxtlint.toml that applies to the file wins over the tab size, as
  // fxtfmt lays the file out; one that cannot be read is passed over.
  for (const [settings, indent] of [["[format]\nindent = 3\n", "   "], ["[format]\nindent = 9\n", "    "]]) {
    const folder = join(work, `settings-${indent.length}`, "templates");
    mkdirSync(folder, { recursive: true });
    writeFileSync(join(folder, "..", "fxtlint.toml"), settings);
    const inFolder = `file://${encodeURI(folder)}/my%20spot.fxt`;
    await open(client, inFolder, text);
    const laidOut = applied(text, (await format(client, inFolder, { tabSize: 4, insertSpaces: true })).result);
    assert.match(laidOut, new RegExp(`\nattribute\n${indent}name = "PAN"\n`), settings);
  }
  const ranged = await client.request("textDocument/rangeFormatting", { textDocument: { uri },
    range: { start: { line: 3, character: 2 }, end: { line: 5, character: 0 } }, options: { tabSize: 2, insertSpaces: true } });
  assert.deepEqual(ranged.result.map((e) => [e.range.start.line, e.newText]), [[3, "  name = \"PAN\""], [4, "  channel = 1"]]);
  await stopped(client);
});

test("a newline typed in a block lays out the line it ends and indents the new one", async () => {
  const { client } = await started();
  const uri = "file:///typing.fxt";
  const text = "fixture\nname = \"X\"\nversion = 1,2\nattribute\n  name = \"PAN\"\n channel=1\n\n";
  await open(client, uri, text);
  const typed = await client.request("textDocument/onTypeFormatting", { textDocument: { uri },
    position: { line: 6, character: 0 }, ch: "\n", options: { tabSize: 2, insertSpaces: true } });
  assert.deepEqual(typed.result.map((e) => [e.range.start.line, e.newText]), [[5, "  channel = 1"], [6, "  "]]);
  // In the header, and at the first line, nothing is indented.
  const header = await client.request("textDocument/onTypeFormatting", { textDocument: { uri },
    position: { line: 2, character: 0 }, ch: "\n", options: { tabSize: 2, insertSpaces: true } });
  assert.deepEqual(header.result, []);
  await stopped(client);
});

test("a line with a character above U+00FF is left as written", async () => {
  const { client } = await started();
  const uri = "file:///wide.fxt";
  const text = "fixture\nname=\"Spot \u20ac\"\nmanufacturer=\"Caf\u00e9\"\n";
  await open(client, uri, text);
  const edits = (await format(client, uri)).result;
  assert.deepEqual(edits.map((e) => [e.range.start.line, e.newText]), [[2, "manufacturer = \"Caf\u00e9\""]]);
  await stopped(client);
});

test("folding ranges: the header, each attribute and parameter block, and runs of remarks", async () => {
  const { client } = await started();
  for (const [name, text] of [["spot-575.fxt", example("spot-575.fxt")], ["broken.fxt", broken]]) {
    const uri = `file:///${name}`;
    await open(client, uri, text);
    const outline = (await client.request("textDocument/documentSymbol", { textDocument: { uri } })).result[0];
    const folds = (await client.request("textDocument/foldingRange", { textDocument: { uri } })).result;
    const blocks = folds.filter((f) => f.kind === undefined);
    assert.deepEqual(blocks.map((f) => f.startLine),
      [outline.range.start.line, ...outline.children.map((c) => c.range.start.line)], name);
    const lines = text.split("\n");
    for (const fold of blocks) assert.ok(/\S/.test(lines[fold.endLine]) && !/^\s*\//.test(lines[fold.endLine]), `${name}: ${JSON.stringify(fold)}`);
    const remarks = [];
    lines.forEach((l, i) => {
      if (!/^\s*\//.test(l)) return;
      if (remarks.length > 0 && remarks.at(-1)[1] === i - 1) remarks.at(-1)[1] = i;
      else remarks.push([i, i]);
    });
    assert.deepEqual(folds.filter((f) => f.kind === "comment").map((f) => [f.startLine, f.endLine]),
      remarks.filter(([first, last]) => last > first), name);
  }
  await stopped(client);
});

// The tokens as [line, character, text, type, modifiers].
function decoded(text, data) {
  const lines = text.split("\n");
  const tokens = [];
  let line = 0;
  let character = 0;
  for (let i = 0; i < data.length; i += 5) {
    line += data[i];
    character = data[i] === 0 ? character + data[i + 1] : data[i + 1];
    tokens.push([line, character, lines[line].substr(character, data[i + 2]), typeNames[data[i + 3]], data[i + 4]]);
  }
  return tokens;
}

test("semantic tokens tell keywords, names the tables hold from those they lack, numbers, letters, remarks and errors", async () => {
  const { client } = await started();
  const uri = "file:///mistakes.fxt";
  const text = example("typical-mistakes.fxt");
  await open(client, uri, text);
  const full = (await client.request("textDocument/semanticTokens/full", { textDocument: { uri } })).result;
  const tokens = decoded(text, full.data);
  const on = (pattern) => {
    const line = text.split("\n").findIndex((l) => pattern.test(l));
    return tokens.filter((t) => t[0] === line).map((t) => t.slice(2));
  };
  assert.deepEqual(on(/^\/ A template/), [["/ A template with the mistakes that template authors make most often.", "comment", 0]]);
  assert.deepEqual(on(/^version/), [["version =", "keyword", 0], ["1", "number", 1], ["2", "number", 1]]);
  assert.deepEqual(on(/name = "PAN"/), [["name =", "keyword", 0], ["\"PAN\"", "enumMember", 0]]);
  assert.deepEqual(on(/name = "Intensity"/), [["name =", "keyword", 0], ["\"Intensity\"", "string", 0]]);
  assert.deepEqual(on(/channel = 65/), [["channel =", "keyword", 0], ["65", "number", 1]]);
  // A stop before any attriblist= is an error at its keyword; a wrong mode
  // at its letter.
  assert.deepEqual(on(/"White"/), [["stop", "keyword", 1], ["0", "number", 0], ["10", "number", 0], ["n", "enum", 0], ["\"White\"", "enumMember", 0]]);
  assert.deepEqual(on(/"Red"/), [["stop", "keyword", 0], ["10", "number", 0], ["20", "number", 0], ["w", "enum", 1], ["\"Red\"", "enumMember", 0]]);
  // Past the errors, the last line is read as the tester reads it.
  const last = tokens.at(-1);
  assert.equal(last[3], "keyword");
  await stopped(client);
});

test("semantic tokens count code units as agreed, and end lines where the client does", async () => {
  // "é" is one UTF-16 unit and two UTF-8 bytes; "€" is one unit and three
  // bytes; nothing after the lone carriage return is read.
  const text = "fixture\nname = \"Caf\u00e9 \u20ac\" / \u00e9\rversion = 1\nversion = 1.0\n";
  for (const [encodings, [nameLength, remarkAt]] of [[["utf-16"], [8, 16]], [["utf-8"], [11, 19]]]) {
    const { client } = await started({ general: { positionEncodings: encodings } });
    await open(client, "file:///units.fxt", text);
    const { data } = (await client.request("textDocument/semanticTokens/full", { textDocument: { uri: "file:///units.fxt" } })).result;
    const tokens = [];
    for (let i = 0, line = 0, at = 0; i < data.length; i += 5) {
      line += data[i];
      at = data[i] === 0 ? at + data[i + 1] : data[i + 1];
      tokens.push([line, at, data[i + 2], typeNames[data[i + 3]]]);
    }
    assert.deepEqual(tokens, [[0, 0, 7, "keyword"], [1, 0, 6, "keyword"], [1, 7, nameLength, "string"],
      [1, remarkAt, remarkAt === 16 ? 3 : 4, "comment"], [3, 0, 9, "keyword"], [3, 10, 3, "number"]], encodings[0]);
    await stopped(client);
  }
});

test("a semantic tokens delta turns the last result into the new one", async () => {
  const { client } = await started();
  const uri = "file:///delta.fxt";
  const text = example("spot-575.fxt");
  await open(client, uri, text);
  const first = (await client.request("textDocument/semanticTokens/full", { textDocument: { uri } })).result;
  const changed = text.replace(/name = "TILT"/, "name = \"Tilt it\"");
  client.notify("textDocument/didChange", { textDocument: { uri, version: 2 }, contentChanges: [{ text: changed }] });
  const delta = (await client.request("textDocument/semanticTokens/full/delta", { textDocument: { uri }, previousResultId: first.resultId })).result;
  assert.notEqual(delta.resultId, first.resultId);
  assert.equal(delta.edits.length, 1);
  const data = [...first.data];
  for (const edit of delta.edits) data.splice(edit.start, edit.deleteCount, ...(edit.data ?? []));
  const whole = (await client.request("textDocument/semanticTokens/full", { textDocument: { uri } })).result;
  assert.deepEqual(data, whole.data);
  assert.ok(decoded(changed, data).some((t) => t[2] === "\"Tilt it\"" && t[3] === "string"));
  // An unknown result id gets the tokens whole; a closed document none.
  const stale = (await client.request("textDocument/semanticTokens/full/delta", { textDocument: { uri }, previousResultId: "0" })).result;
  assert.deepEqual(stale.data, whole.data);
  client.notify("textDocument/didClose", { textDocument: { uri } });
  assert.equal((await client.request("textDocument/semanticTokens/full", { textDocument: { uri } })).result, null);
  await stopped(client);
});

test("document highlight marks every place that names the attribute, after an error too", async () => {
  const { client } = await started();
  const uri = "file:///spot.fxt";
  // An error on the version line changes nothing below it.
  const text = example("spot-575.fxt").replace(/^version = .*$/m, "version = 1,2");
  await open(client, uri, text);
  const lines = text.split("\n");
  const highlights = async (line, character) => (await client.request("textDocument/documentHighlight",
    { textDocument: { uri }, position: { line, character } })).result
    .map((h) => [h.range.start.line, lines[h.range.start.line].slice(h.range.start.character, h.range.end.character), h.kind]);
  const channel = lines.findIndex((l) => /^\s*channel = 3$/.test(l));
  const list = lines.findIndex((l) => /^\s*attriblist = 3$/.test(l));
  const stop = lines.findIndex((l) => /Ti@=/.test(l));
  const fromList = await highlights(list, lines[list].indexOf("3"));
  assert.deepEqual(fromList.filter((h) => h[2] === 3), [[channel, "3", 3], [channel + 1, "4", 3]]);
  assert.ok(fromList.some((h) => h[0] === list && h[1] === "3"));
  assert.ok(fromList.some((h) => h[0] === stop), "the stop's value of TILT");
  assert.deepEqual(await highlights(channel, lines[channel].indexOf("3")), fromList);
  assert.deepEqual(await highlights(0, 0), []);
  await stopped(client);
});

process.on("exit", () => rmSync(work, { recursive: true, force: true }));
await runTests(tests);
