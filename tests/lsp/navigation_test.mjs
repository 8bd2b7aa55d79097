// Inlay hints, references, renaming and workspace symbols through the
// protocol, on templates that load cleanly and on ones with an early error.
//   node navigation_test.mjs SERVER
import assert from "node:assert/strict";
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { Client, open, runTests, started as startedServer, stopped } from "./lsp_client.mjs";

const [server] = process.argv.slice(2);
const tests = [];
const test = (name, body) => tests.push({ name, body });
const started = (capabilities) => startedServer(server, capabilities);

// An early line that the tester refuses; every later line still counts.
const EARLY_ERROR = 'manufacturer = ""';
const template = (early = 'manufacturer = "Acme"') => [
  "fixture",
  'name = "Mover"',
  early,
  "version = 1.0",
  "attribute",
  '  name = "PAN"',
  "  channel = 1",
  "  finechan = 2",
  "  homeval = 0x8000",
  "attribute",
  '  name = "DIMMER"',
  "  type = i",
  "  channel = 3",
  "  homeval = 51",
  "attribute",
  '  name = "GOBO"',
  "  type = b",
  "  channel = 4",
  "parameter",
  '  name = "-PAN-"',
  "  type = f",
  "  attriblist = 1",
  "  displayernum = 1",
  '  stop = (m0:70000),d,-270,270,"Pan="',
  "parameter",
  '  name = "GOBOS"',
  "  type = b",
  "  attriblist = 4, 3",
  "  displayernum = 2",
  '  stop = (m0x10:31,255),w,"Open"',
  "parameter",
  '  name = "BEAM"',
  "  type = b",
  "  attriblist = 1,4",
  "  displayernum = 3",
  '  stop = (m5,6),w,"A"',
  "end",
  "",
].join("\n");

const uri = "file:///mover.fxt";
const lineOf = (text, start) => text.split("\n").findIndex((line) => line.startsWith(start));
const at = (text, line, what, offset = 0) => ({
  line, character: text.split("\n")[line].indexOf(what) + offset,
});
const rangeText = (text, range) => text.split("\n")[range.start.line].slice(range.start.character, range.end.character);

async function opened(text) {
  const { client, capabilities } = await started();
  await open(client, uri, text);
  return { client, capabilities };
}

function hintsOf(client, firstLine = 0, lastLine = 1000) {
  return client.request("textDocument/inlayHint", {
    textDocument: { uri }, range: { start: { line: firstLine, character: 0 }, end: { line: lastLine, character: 0 } },
  }).then((answer) => answer.result);
}

// Each hint as "text before it|label".
function hintWords(text, hints) {
  const lines = text.split("\n");
  return hints.map((hint) => `${lines[hint.position.line].slice(0, hint.position.character)}|${hint.label}`);
}

test("the new capabilities are advertised", async () => {
  const { client, capabilities } = await started();
  assert.equal(capabilities.inlayHintProvider, true);
  assert.equal(capabilities.referencesProvider, true);
  assert.deepEqual(capabilities.renameProvider, { prepareProvider: true });
  assert.deepEqual(capabilities.workspaceSymbolProvider, { workDoneProgress: true });
  assert.deepEqual(capabilities.workspace.workspaceFolders, { supported: true, changeNotifications: true });
  assert.equal(await stopped(client), 0);
});

for (const [what, early] of [["a clean template", undefined], ["a template with an error on line 3", EARLY_ERROR]]) {
  test(`inlay hints name, scale and span the numbers of ${what}`, async () => {
    const text = template(early);
    const { client } = await opened(text);
    const words = hintWords(text, await hintsOf(client));
    for (const expected of [
      "  channel = 1|DMX 1\u20132 (16-bit)",
      "  finechan = 2|DMX 1\u20132 (16-bit)",
      "  homeval = 0x8000|50%",
      "  channel = 3|DMX 3 (8-bit)",
      "  homeval = 51|20%",
      "  attriblist = 1|\u27f5 PAN",
      "  attriblist = 4|\u27f5 GOBO",
      "  attriblist = 4, 3|\u27f5 DIMMER",
      // 16 bits keep the low 16 of 70000; an 8-bit attribute's values scale by 256
      '  stop = (m0:70000|\u2192 4464',
      '  stop = (m0x10:31|\u2192 7936',
      '  stop = (m0x10:31,255|\u2192 65280',
      "  stop = (m5,6|\u2192 1536",
    ]) {
      assert.ok(words.includes(expected), `${expected} in\n${words.join("\n")}`);
    }
    // A value stored as written gets none: the 16-bit 5; and m0x10 reads as
    // 0, as the tester reads it, since its second character is no 'x'.
    for (const unexpected of ["  stop = (m5|", "  stop = (m0x10|"]) {
      assert.ok(!words.some((word) => word.startsWith(unexpected)), unexpected);
    }
    const only = hintWords(text, await hintsOf(client, 21, 21));
    assert.deepEqual(only, ["  attriblist = 1|\u27f5 PAN"]);
    assert.equal(await stopped(client), 0);
  });

  test(`references of an attribute are the list entries that name its channel, in ${what}`, async () => {
    const text = template(early);
    const { client } = await opened(text);
    const gobo = lineOf(text, "  channel = 4");
    const references = async (position, includeDeclaration) => (await client.request("textDocument/references", {
      textDocument: { uri }, position, context: { includeDeclaration },
    })).result;
    const fromChannel = await references(at(text, gobo, "4"), false);
    assert.deepEqual(fromChannel.map((location) => [location.range.start.line, rangeText(text, location.range)]),
      [[lineOf(text, "  attriblist = 4, 3"), "4"], [lineOf(text, "  attriblist = 1,4"), "4"]]);
    const fromEntry = await references(at(text, lineOf(text, "  attriblist = 1,4"), "4"), true);
    assert.equal(fromEntry.length, 3);
    assert.deepEqual([fromEntry[0].range.start.line, fromEntry[0].range.end.line], [gobo - 3, gobo]);
    const fromName = await references(at(text, lineOf(text, '  name = "DIMMER"'), "DIMMER"), false);
    assert.deepEqual(fromName.map((location) => rangeText(text, location.range)), ["3"]);
    assert.deepEqual(await references({ line: 0, character: 0 }, true), []);
    assert.equal(await stopped(client), 0);
  });
}

test("renaming a channel moves the attribute and every entry that names it", async () => {
  const text = template(EARLY_ERROR);
  const { client } = await opened(text);
  const rename = (position, newName) => client.request("textDocument/rename", { textDocument: { uri }, position, newName });
  const fromList = at(text, lineOf(text, "  attriblist = 4, 3"), "4");
  const prepared = (await client.request("textDocument/prepareRename", { textDocument: { uri }, position: fromList })).result;
  assert.deepEqual([rangeText(text, prepared.range), prepared.placeholder], ["4", "4"]);
  const edits = (await rename(fromList, "12")).result.changes[uri];
  assert.deepEqual(edits.map((edit) => [edit.range.start.line, rangeText(text, edit.range), edit.newText]), [
    [lineOf(text, "  channel = 4"), "4", "12"],
    [lineOf(text, "  attriblist = 4, 3"), "4", "12"],
    [lineOf(text, "  attriblist = 1,4"), "4", "12"],
  ]);
  const fromChannel = at(text, lineOf(text, "  channel = 4"), "4");
  for (const [newName, message] of [
    ["3", "channel 3 is taken: DIMMER uses it"],
    ["2", "channel 2 is taken: PAN uses it as its fine channel"],
    ["65", "channel 65 is out of range: a channel is a number from 1 to 64"],
    ["0", "channel 0 is out of range: a channel is a number from 1 to 64"],
    ["four", "a channel is a number from 1 to 64"],
  ]) {
    const refused = await rename(fromChannel, newName);
    assert.deepEqual([refused.error?.code, refused.error?.message], [-32803, message], newName);
  }
  const nothing = { line: lineOf(text, "  type = b"), character: 4 };
  assert.equal((await client.request("textDocument/prepareRename", { textDocument: { uri }, position: nothing })).result, null);
  assert.equal((await rename(nothing, "x")).error.code, -32803);
  assert.equal(await stopped(client), 0);
});

test("renaming a name changes its name= line, and what the tester would refuse is refused", async () => {
  const text = template();
  const { client } = await opened(text);
  const rename = (position, newName) => client.request("textDocument/rename", { textDocument: { uri }, position, newName });
  const gobo = at(text, lineOf(text, '  name = "GOBO"'), "GOBO");
  const prepared = (await client.request("textDocument/prepareRename", { textDocument: { uri }, position: gobo })).result;
  assert.deepEqual([rangeText(text, prepared.range), prepared.placeholder], ["GOBO", "GOBO"]);
  const [edit] = (await rename(gobo, "GOBO ROT é")).result.changes[uri];
  assert.deepEqual([rangeText(text, edit.range), edit.newText], ["GOBO", "GOBO ROT é"]);
  const fixture = at(text, 1, "Mover");
  for (const [position, newName, message] of [
    [gobo, 'a "b"', "a name cannot hold a quote: the line would end there"],
    [gobo, "a/b", "a name cannot hold '/': the line would end there"],
    [gobo, "", "a name cannot be empty"],
    [gobo, "tab\there", "a name holds letters from U+0020 to U+00FE, without controls"],
    [gobo, "snow \u2603", "a name holds letters from U+0020 to U+00FE, without controls"],
    [gobo, "y\u00ff", "a name holds letters from U+0020 to U+00FE, without controls"],
    [gobo, "G".repeat(90), "the line would be 101 characters long; a line holds at most 99"],
    [gobo, "INTENSITY", "the names INTENSITY and PAN make an attribute's kind: change that name= line by hand"],
    [at(text, 5, "PAN"), "TILT", "the names INTENSITY and PAN make an attribute's kind: change that name= line by hand"],
    [fixture, "Mover 2000 Extra", "a fixture's name keeps its first 15 characters; this one has 16"],
  ]) {
    const refused = await rename(position, newName);
    assert.deepEqual([refused.error?.code, refused.error?.message], [-32803, message], newName);
  }
  assert.equal((await rename(fixture, "Mover 2000 XL")).result.changes[uri][0].newText, "Mover 2000 XL");
  assert.equal(await stopped(client), 0);
});

// A workspace of `count` templates in two folders (and one hidden folder,
// which the walk passes over), named "Lamp 0" ...; its folder.
function workspace(count) {
  const folder = mkdtempSync(join(tmpdir(), "fxt-workspace-"));
  for (const sub of ["a", "b", ".hidden"]) mkdirSync(join(folder, sub));
  for (let i = 0; i < count; ++i) {
    const text = template().replace('name = "Mover"', `name = "Lamp ${i}"`);
    writeFileSync(join(folder, i % 2 ? "a" : "b", `lamp-${i}.fxt`), text, "latin1");
  }
  writeFileSync(join(folder, ".hidden", "hidden.fxt"), template(), "latin1");
  return folder;
}

async function inWorkspace(folder, capabilities = {}) {
  const client = new Client(server);
  await client.request("initialize", {
    processId: null, capabilities, workspaceFolders: [{ uri: pathToFileURL(folder).href, name: "w" }],
  });
  client.notify("initialized", {});
  return client;
}

test("workspace symbols hold the open documents and the templates below the folders", async () => {
  const folder = workspace(3);
  try {
    const client = await inWorkspace(folder);
    // An open document stands for its file: its text, not the file's, counts.
    const lamp0 = pathToFileURL(join(folder, "b", "lamp-0.fxt")).href;
    await open(client, lamp0, template().replace('name = "Mover"', 'name = "Opened"'));
    const all = (await client.request("workspace/symbol", { query: "" })).result;
    const templates = all.filter((symbol) => symbol.kind === 5).map((symbol) => symbol.name).sort();
    assert.deepEqual(templates, ["Lamp 1", "Lamp 2", "Opened"]);
    const gobo = (await client.request("workspace/symbol", { query: "gbs" })).result;
    assert.deepEqual(gobo.map((symbol) => [symbol.name, symbol.kind, symbol.containerName]),
      [["GOBOS", 7, "Opened"], ["GOBOS", 7, "Lamp 1"], ["GOBOS", 7, "Lamp 2"]]);
    assert.equal(gobo[1].location.uri, pathToFileURL(join(folder, "a", "lamp-1.fxt")).href);
    assert.equal(gobo[1].location.range.start.line, 24);
    assert.equal((await client.request("workspace/symbol", {})).error.code, -32602);
    assert.equal(await stopped(client), 0);
  } finally {
    rmSync(folder, { recursive: true });
  }
});

test("a workspace scan reports its progress, on the client's token or on one it asks for", async () => {
  const folder = workspace(4);
  try {
    const client = await inWorkspace(folder);
    await client.request("workspace/symbol", { query: "Lamp", workDoneToken: "scan-1" });
    // Notifications that no test awaits stay in the client's queue, in order.
    const progress = client.messages.filter((message) => message.method === "$/progress").map((message) => message.params);
    assert.deepEqual(progress.map((report) => [report.token, report.value.kind]),
      [["scan-1", "begin"], ...[1, 2, 3, 4].map(() => ["scan-1", "report"]), ["scan-1", "end"]]);
    assert.equal(progress.at(-2).value.percentage, 100);
    assert.equal(progress[0].value.cancellable, true);
    assert.equal(await stopped(client), 0);

    const asking = await inWorkspace(folder, { window: { workDoneProgress: true } });
    const created = asking.waitFor((message) => message.method === "window/workDoneProgress/create", "create");
    const began = asking.waitFor((message) => message.method === "$/progress" && message.params.value.kind === "begin", "begin");
    await asking.request("workspace/symbol", { query: "" });
    const { id, params } = await created;
    assert.equal((await began).params.token, params.token);
    asking.send({ id, result: null });
    assert.equal(await stopped(asking), 0);
  } finally {
    rmSync(folder, { recursive: true });
  }
});

test("a cancel that waits is honoured between files, and what came after it is answered", async () => {
  const folder = workspace(40);
  try {
    const client = await inWorkspace(folder);
    const uri = "file:///open.fxt";
    await open(client, uri, template());
    const frame = (message) => {
      const body = Buffer.from(JSON.stringify({ jsonrpc: "2.0", ...message }));
      return Buffer.concat([Buffer.from(`Content-Length: ${body.length}\r\n\r\n`), body]);
    };
    // All three in one write: the cancel waits in the input when the scan begins.
    client.sendRaw(Buffer.concat([
      frame({ id: 900, method: "workspace/symbol", params: { query: "" } }),
      frame({ method: "$/cancelRequest", params: { id: 900 } }),
      frame({ id: 901, method: "textDocument/references", params: { textDocument: { uri }, position: { line: 17, character: 12 }, context: { includeDeclaration: false } } }),
    ]));
    const cancelled = await client.waitFor((message) => message.id === 900, "the cancelled answer");
    assert.equal(cancelled.error.code, -32800);
    const after = await client.waitFor((message) => message.id === 901, "the answer after it");
    assert.equal(after.result.length, 2);
    // A cancel of another request leaves the scan to its end.
    client.sendRaw(Buffer.concat([
      frame({ id: 902, method: "workspace/symbol", params: { query: "Lamp 39" } }),
      frame({ method: "$/cancelRequest", params: { id: 1 } }),
    ]));
    const whole = await client.waitFor((message) => message.id === 902, "the whole answer");
    assert.deepEqual(whole.result.map((symbol) => symbol.name), ["Lamp 39"]);
    assert.equal(await stopped(client), 0);
  } finally {
    rmSync(folder, { recursive: true });
  }
});

await runTests(tests);
