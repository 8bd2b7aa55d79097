// Inlay hints, references, renaming and workspace symbols through the
// protocol, on templates that load cleanly and on ones with an early error.
//   node navigation_test.mjs SERVER
import assert from "node:assert/strict";
import { open, runTests, started as startedServer, stopped } from "./lsp_client.mjs";

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

await runTests(tests);
