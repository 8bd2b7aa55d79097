// The language server's code actions, through the protocol: each quick fix
// and suppression mends its diagnostic and nothing else, and the fix of the
// whole file applies every safe fix at once.
//   node code_actions_test.mjs SERVER
import assert from "node:assert/strict";
import { open, runTests, started as startedServer, stopped } from "./lsp_client.mjs";

const [server] = process.argv.slice(2);
const tests = [];
const test = (name, body) => tests.push({ name, body });
const started = (capabilities) => startedServer(server, capabilities);

const header = 'fixture\nname = "A"\nversion = 1.0\nmanufacturer = "B"\n';
const intensity = 'attribute\n  name = "INTENSITY"\n  channel = 1\n';

// The text with the client's edits applied (positions in UTF-16 units).
function applied(text, edits) {
  const starts = [0];
  for (let i = 0; i < text.length; i++) if (text[i] === "\n") starts.push(i + 1);
  const offset = ({ line, character }) => starts[line] + character;
  const sorted = [...edits].sort((a, b) => offset(b.range.start) - offset(a.range.start));
  for (const edit of sorted) {
    text = text.slice(0, offset(edit.range.start)) + edit.newText + text.slice(offset(edit.range.end));
  }
  return text;
}

function actionsOn(client, uri, line, only) {
  const range = { start: { line, character: 0 }, end: { line, character: 0 } };
  return client.request("textDocument/codeAction",
    { textDocument: { uri }, range, context: { diagnostics: [], ...(only ? { only } : {}) } });
}

const codes = (diagnostics) => diagnostics.map((d) => d.code).sort();

test("codeActionProvider names the kinds it offers", async () => {
  const { client, capabilities } = await started();
  assert.deepEqual(capabilities.codeActionProvider, { codeActionKinds: ["quickfix", "source.fixAll.fxt"] });
  await stopped(client);
});

test("a quick fix carries its diagnostic and mends it alone", async () => {
  const { client } = await started();
  const uri = "file:///typo.fxt";
  const text = header + intensity + 'attribute\n  name = "PAN"\n  chanel = 2\nend\n';
  const published = (await open(client, uri, text)).params.diagnostics;
  const typo = published.find((d) => d.code === "FT103");
  const { result } = await actionsOn(client, uri, typo.range.start.line, ["quickfix"]);
  const fix = result.find((a) => a.isPreferred);
  assert.equal(fix.title, "Spell the keyword channel");
  assert.equal(fix.kind, "quickfix");
  assert.deepEqual(fix.diagnostics, [typo]);
  const fixed = applied(text, fix.edit.changes[uri]);
  assert.equal(fixed, header + intensity + 'attribute\n  name = "PAN"\n  channel = 2\nend\n');
  client.notify("textDocument/didChange", { textDocument: { uri, version: 2 }, contentChanges: [{ text: fixed }] });
  assert.deepEqual((await client.diagnostics(uri)).params.diagnostics, []);
  await stopped(client);
});

test("a fix places its edits after a character above U+00FF on the same line, in either encoding", async () => {
  for (const capabilities of [{}, { general: { positionEncodings: ["utf-8"] } }]) {
    const { client } = await started(capabilities);
    const uri = "file:///quotes.fxt";
    const text = "fixture\nname = 'é€x'\nversion = 1.0\nmanufacturer = \"B\"\n" + intensity + "end\n";
    const published = (await open(client, uri, text)).params.diagnostics;
    const quotes = published.find((d) => /quote/.test(d.message) && d.range.start.line === 1);
    assert.ok(quotes, JSON.stringify(published));
    const { result } = await actionsOn(client, uri, 1, ["quickfix"]);
    const fix = result.find((a) => a.isPreferred);
    const edits = fix.edit.changes[uri];
    if (capabilities.general) {
      // In UTF-8 the closing quote stands 3 bytes further on than in UTF-16.
      assert.equal(Math.max(...edits.map((e) => e.range.start.character)), 14);
    } else {
      assert.equal(applied(text, edits).split("\n")[1], 'name = "é€x"');
    }
    await stopped(client);
  }
});

test("suppress writes the comment above the line, or adds to the one there", async () => {
  const { client } = await started();
  const uri = "file:///suppress.fxt";
  const suppressedOnce = async (text, line, code) => {
    client.notify("textDocument/didChange", { textDocument: { uri }, contentChanges: [{ text }] });
    await client.diagnostics(uri);
    const { result } = await actionsOn(client, uri, line);
    const suppress = result.find((a) => a.title === `Suppress ${code} on this line`);
    assert.equal(suppress.isPreferred, false);
    const suppressed = applied(text, suppress.edit.changes[uri]);
    client.notify("textDocument/didChange", { textDocument: { uri }, contentChanges: [{ text: suppressed }] });
    return { suppressed, after: (await client.diagnostics(uri)).params.diagnostics };
  };
  const text = header + intensity + 'attribute\n  name = "PAN"\n  homeval = 300\n  channel = 2\nend\n';
  assert.deepEqual(codes((await open(client, uri, text)).params.diagnostics), ["FT309"]);
  const once = await suppressedOnce(text, 9, "FT309");
  assert.equal(once.suppressed.split("\n")[9], "  / fxtlint: ignore FT309");
  assert.deepEqual(once.after, []);
  // A second code of the line joins the comment already above it.
  const two = once.suppressed.replace("homeval = 300", "homeval = 300 (high)");
  const twice = await suppressedOnce(two, 10, "FL120");
  assert.equal(twice.suppressed.split("\n")[9], "  / fxtlint: ignore FT309,FL120");
  assert.deepEqual(twice.after, []);
  await stopped(client);
});

test("fix all applies every safe fix, and is offered only where asked for", async () => {
  const { client } = await started();
  const uri = "file:///all.fxt";
  const text = header + 'attribute\n  name = "INTENSITY"\n  chanel = 1\n' +
    "attribute\n  name = 'PAN'\n  channel = 2\n";
  const published = (await open(client, uri, text)).params.diagnostics;
  assert.ok(published.length >= 2);
  const quick = (await actionsOn(client, uri, 0, ["quickfix"])).result;
  assert.ok(quick.every((a) => a.kind === "quickfix"));
  const [all] = (await actionsOn(client, uri, 0, ["source.fixAll"])).result;
  assert.equal(all.kind, "source.fixAll.fxt");
  // The missing end line waits while other fixes are left.
  const fixed = applied(text, all.edit.changes[uri]);
  assert.equal(fixed, header + 'attribute\n  name = "INTENSITY"\n  channel = 1\n' +
    'attribute\n  name = "PAN"\n  channel = 2\n');
  client.notify("textDocument/didChange", { textDocument: { uri, version: 2 }, contentChanges: [{ text: fixed }] });
  await client.diagnostics(uri);
  const [last] = (await actionsOn(client, uri, 0, ["source"])).result;
  assert.equal(applied(fixed, last.edit.changes[uri]).endsWith("channel = 2\nend\n"), true);
  await stopped(client);
});

test("a document that is not open has no actions, and a bad range is refused", async () => {
  const { client } = await started();
  assert.deepEqual((await actionsOn(client, "file:///none.fxt", 0)).result, []);
  const bad = await client.request("textDocument/codeAction", { textDocument: { uri: "file:///none.fxt" } });
  assert.equal(bad.error.code, -32602);
  await stopped(client);
});

await runTests(tests);
