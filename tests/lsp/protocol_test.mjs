// The language server driven through its standard input and output: every
// method it answers, and every bad input it must survive.
//   node protocol_test.mjs SERVER FXTLINT EXAMPLES_DIR
import { execFileSync, spawnSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from "node:fs";
import { tmpdir } from "node:os";
import { basename, dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import assert from "node:assert/strict";
import { Client, open, runTests, started as startedServer, stopped } from "./lsp_client.mjs";

const [server, fxtlint, examples] = process.argv.slice(2);
const tests = [];
const test = (name, body) => tests.push({ name, body });

const started = (capabilities, env) => startedServer(server, capabilities, env);

const clean = readFileSync(`${examples}/strobe.fxt`, "utf8");
const mistakes = readFileSync(`${examples}/typical-mistakes.fxt`, "utf8");

test("initialize advertises what is there, in UTF-16 unless UTF-8 is offered", async () => {
  const { client, capabilities } = await started();
  assert.equal(capabilities.positionEncoding, "utf-16");
  assert.deepEqual(capabilities.textDocumentSync, { openClose: true, change: 2, save: true });
  for (const provider of ["hoverProvider", "definitionProvider", "documentSymbolProvider"]) {
    assert.equal(capabilities[provider], true, provider);
  }
  assert.ok(capabilities.completionProvider);
  assert.equal(await stopped(client), 0);
  const utf8 = await started({ general: { positionEncodings: ["utf-16", "utf-8"] } });
  assert.equal(utf8.capabilities.positionEncoding, "utf-8");
  assert.equal(await stopped(utf8.client), 0);
});

test("requests before initialize are refused, notifications dropped", async () => {
  const client = new Client(server);
  client.notify("textDocument/didOpen", { textDocument: { uri: "file:///a.fxt", version: 1, text: "" } });
  const early = await client.request("textDocument/hover", { textDocument: { uri: "file:///a.fxt" }, position: { line: 0, character: 0 } });
  assert.equal(early.error.code, -32002);
  await client.request("initialize", { capabilities: {} });
  const again = await client.request("initialize", { capabilities: {} });
  assert.equal(again.error.code, -32600);
  assert.equal(await stopped(client), 0);
});

test("unknown requests get MethodNotFound; unknown notifications and $/ ones are ignored", async () => {
  const { client } = await started();
  client.notify("$/cancelRequest", { id: 1 });
  client.notify("workspace/unknownThing", {});
  assert.equal((await client.request("workspace/unknownRequest", {})).error.code, -32601);
  assert.equal((await client.request("$/unknown", {})).error.code, -32601);
  assert.equal(await stopped(client), 0);
});

test("exit without shutdown ends with status 1; requests after shutdown are refused", async () => {
  const first = await started();
  first.client.notify("exit", null);
  assert.equal(await first.client.exited, 1);
  const second = await started();
  await second.client.request("shutdown", null);
  assert.equal((await second.client.request("textDocument/documentSymbol", { textDocument: { uri: "file:///a.fxt" } })).error.code, -32600);
  second.client.notify("exit", null);
  assert.equal(await second.client.exited, 0);
});

test("the diagnostics equal fxtlint's, with the document's version", async () => {
  const { client } = await started();
  const uri = "file:///typical-mistakes.fxt";
  const published = await open(client, uri, mistakes, 7);
  assert.equal(published.params.version, 7);
  const expected = JSON.parse(spawnSync(fxtlint, ["-f", "json", "--max-diagnostics", "0", `${examples}/typical-mistakes.fxt`], { encoding: "utf8" }).stdout).files[0].diagnostics;
  const got = published.params.diagnostics;
  // The ranges agree, start and end: the template's characters are ASCII.
  assert.deepEqual(got.map((d) => [d.range.start.line + 1, d.range.start.character + 1,
    d.range.end.line + 1, d.range.end.character + 1, d.code]),
  expected.map((d) => [d.line, d.column, d.endLine, d.endColumn, d.code]));
  assert.ok(got.every((d) => d.source === "fxt"));
  assert.ok(got.every((d) => d.codeDescription.href.endsWith(`#${d.code}`)));
  assert.ok(got.every((d) => d.severity === (expected.find((e) => e.code === d.code).severity === "error" ? 1 : 2)));
  await stopped(client);
});

test("a duplicate channel points at the attribute that took it first", async () => {
  const { client } = await started();
  const uri = "file:///duplicate.fxt";
  const text = 'fixture\nname = "A"\nversion = 1.0\nmanufacturer = "B"\nattribute\n  name = "INTENSITY"\n  channel = 3\nattribute\n  channel = 3\nend\n';
  const published = await open(client, uri, text);
  const duplicate = published.params.diagnostics.find((d) => d.code === "FT305");
  assert.equal(duplicate.range.start.line, 8);
  assert.equal(duplicate.relatedInformation[0].location.uri, uri);
  assert.equal(duplicate.relatedInformation[0].location.range.start.line, 6);
  await stopped(client);
});

test("changes, whole and incremental, are analysed again; close clears the diagnostics", async () => {
  const { client } = await started();
  const uri = "file:///changing.fxt";
  assert.equal((await open(client, uri, clean)).params.diagnostics.length, 0);
  // Channel 1 of the strobe example becomes channel 99.
  const line = clean.split("\n").findIndex((l) => /channel\s*=\s*1\b/.test(l));
  const column = clean.split("\n")[line].indexOf("1");
  client.notify("textDocument/didChange", { textDocument: { uri, version: 2 },
    contentChanges: [{ range: { start: { line, character: column }, end: { line, character: column + 1 } }, text: "99" }] });
  const changed = await client.diagnostics(uri);
  assert.equal(changed.params.version, 2);
  // Once an error is counted the tester no longer stores the fine channel of
  // SPEED, so it reads its home value as an 8-bit one: that check follows
  // from the error, and is a note on it that points at the home value.
  assert.deepEqual(changed.params.diagnostics.map((d) => d.code), ["FT304"]);
  const [invalid] = changed.params.diagnostics;
  assert.deepEqual(invalid.range, { start: { line, character: column }, end: { line, character: column + 2 } });
  assert.match(invalid.relatedInformation[0].message, /homeValue out of range, follows from this error/);
  client.notify("textDocument/didChange", { textDocument: { uri, version: 3 }, contentChanges: [{ text: clean }] });
  assert.equal((await client.diagnostics(uri)).params.diagnostics.length, 0);
  client.notify("textDocument/didSave", { textDocument: { uri } });
  client.notify("textDocument/didClose", { textDocument: { uri } });
  const closed = await client.diagnostics(uri);
  assert.deepEqual(closed.params.diagnostics, []);
  await stopped(client);
});

test("a character above U+00FF is a diagnostic at its place, in either encoding", async () => {
  // "é" is one UTF-16 unit and two UTF-8 bytes before the "€".
  for (const [capabilities, column] of [[{}, 9], [{ general: { positionEncodings: ["utf-8"] } }, 10]]) {
    const { client } = await started(capabilities);
    const uri = "file:///wide.fxt";
    const text = 'fixture\nname = "é€x"\nversion = 1.0\nmanufacturer = "B"\nattribute\n  name = "INTENSITY"\n  channel = 1\nend\n';
    const wide = (await open(client, uri, text)).params.diagnostics.filter((d) => d.code === "FL113");
    assert.equal(wide.length, 1);
    assert.deepEqual(wide[0].range.start, { line: 1, character: column });
    await stopped(client);
  }
  // fxtlint finds it in the same file saved as UTF-8, at its byte column.
  const file = spawnSync(fxtlint, ["-f", "json", "--stdin-filename", "wide.fxt", "-"],
    { input: 'fixture\nname = "é€x"\n', encoding: "utf8" });
  const found = JSON.parse(file.stdout).files[0].diagnostics.filter((d) => d.code === "FL113");
  assert.deepEqual(found.map((d) => [d.line, d.column]), [[2, 11]]);
});

test("the outline holds the template, its attributes and parameters, and their stops", async () => {
  const { client } = await started();
  const uri = "file:///spot.fxt";
  await open(client, uri, readFileSync(`${examples}/spot-575.fxt`, "utf8"));
  const [template] = (await client.request("textDocument/documentSymbol", { textDocument: { uri } })).result;
  assert.equal(template.name, "Spot 575");
  const names = template.children.map((child) => child.name);
  assert.ok(names.includes("PAN  ch 1/2"), names.join(", "));
  const pan = template.children.find((child) => child.name.startsWith("-PAN-"));
  assert.equal(pan.name, "-PAN-  displayer 1");
  assert.deepEqual(pan.children.map((stop) => stop.name), ["Pan="]);
  await stopped(client);
});

test("hover tells what a keyword or a letter does, and what the load stored", async () => {
  const { client } = await started();
  const uri = "file:///spot.fxt";
  const text = readFileSync(`${examples}/spot-575.fxt`, "utf8");
  await open(client, uri, text);
  const lines = text.split("\n");
  const hover = async (pattern, character) => {
    const line = lines.findIndex((l) => pattern.test(l));
    const answer = await client.request("textDocument/hover", { textDocument: { uri }, position: { line, character } });
    return answer.result.contents.value;
  };
  assert.match(await hover(/^\s*finechan = 2/, 3), /fine \(low-byte\) DMX channel/);
  const pan = await hover(/^\s*homeval = 0x8000/, 14);
  assert.match(pan, /\*\*PAN\*\*, attribute 1/);
  assert.match(pan, /DMX channel 1, fine channel 2: a 16-bit attribute/);
  assert.match(pan, /home value 0x8000 as written, 32768 as stored/);
  assert.match(await hover(/^\s*attriblist = 1$/, 16), /attributes: PAN \(DMX channel 1\)/);
  const stop = await hover(/Pan="/, 14);
  assert.match(stop, /stop "Pan="/);
  assert.match(stop, /PAN: 0 to 65535, under the mouse/);
  assert.match(stop, /mode d: mouse mode with a display range, shown from -270 to 270/);
  // On its letters, what the tester makes of them: the mode, then the mark.
  assert.match(await hover(/Pan="/, 20), /^\*\*stop mode\*\* `` d `` \(code 6\)\n\nA mouse mode with a display range/);
  assert.match(await hover(/Pan="/, 10), /^\*\*value mark\*\* `` m ``\n\nMarks the value whose attribute the mouse moves/);
  await stopped(client);
});

test("completion offers the keywords of the block, and the fixed names inside quotes", async () => {
  const { client } = await started();
  const uri = "file:///typing.fxt";
  const text = 'fixture\nname = "A"\nattribute\n  \n  name = "IN\nparameter\n  name = "-\n  stop = (0),n,"Gob\nmanufacturer = "\n';
  await open(client, uri, text);
  const labels = async (line, character) =>
    (await client.request("textDocument/completion", { textDocument: { uri }, position: { line, character } })).result.map((item) => item.label);
  const keywords = await labels(3, 2);
  assert.ok(keywords.includes("channel") && keywords.includes("finechan") && !keywords.includes("displayernum"), keywords.join(" "));
  assert.ok((await labels(4, 12)).includes("INTENSITY"));
  assert.ok((await labels(6, 11)).includes("-GOBO 1-"));
  const labelsOfStop = await labels(7, 19);
  assert.ok(labelsOfStop.includes("Gobo 1") && labelsOfStop.length === 433);
  assert.deepEqual(await labels(0, 3), ["fixture"]);
  await stopped(client);
});

test("definition leads from a listed channel and from a slot value to the attribute", async () => {
  const { client } = await started();
  const uri = "file:///spot.fxt";
  const text = readFileSync(`${examples}/spot-575.fxt`, "utf8");
  await open(client, uri, text);
  const lines = text.split("\n");
  const attributeLine = lines.findIndex((l) => /name = "TILT"/.test(l)) - 1;
  const list = lines.findIndex((l) => /^\s*attriblist = 3$/.test(l));
  const fromList = await client.request("textDocument/definition", { textDocument: { uri }, position: { line: list, character: lines[list].indexOf("3") } });
  assert.equal(fromList.result.range.start.line, attributeLine);
  const stop = lines.findIndex((l) => /Ti@=/.test(l));
  const fromSlot = await client.request("textDocument/definition", { textDocument: { uri }, position: { line: stop, character: lines[stop].indexOf("m0") + 1 } });
  assert.equal(fromSlot.result.range.start.line, attributeLine);
  await stopped(client);
});

test("fxt/chart answers the page fxtchart draws, redrawn on each change", async () => {
  const { client, capabilities } = await started();
  assert.deepEqual(capabilities.executeCommandProvider.commands, ["fxt.showChart"]);
  const uri = "file:///typical-mistakes.fxt";
  await open(client, uri, mistakes, 4);
  const chart = (await client.request("fxt/chart", { textDocument: { uri } })).result;
  assert.equal(chart.version, 4);
  const fxtchart = join(dirname(fxtlint), "fxtchart");
  const drawn = spawnSync(fxtchart, ["-"], { input: mistakes, encoding: "utf8" }).stdout;
  assert.equal(chart.html, drawn.replaceAll("&lt;stdin&gt;", uri));
  const renamed = mistakes.replace(/name\s*=\s*"[^"]*"/, 'name = "Redrawn"');
  client.notify("textDocument/didChange", { textDocument: { uri, version: 5 }, contentChanges: [{ text: renamed }] });
  await client.diagnostics(uri);
  const redrawn = (await client.request("fxt/chart", { textDocument: { uri } })).result;
  assert.equal(redrawn.version, 5);
  assert.match(redrawn.html, /Redrawn/);
  assert.equal((await client.request("fxt/chart", { textDocument: { uri: "file:///closed.fxt" } })).result, null);
  assert.equal((await client.request("fxt/chart", { textDocument: {} })).error.code, -32602);
  await stopped(client);
});

test("fxt.showChart writes the page and asks the client to open it in a browser", async () => {
  const { client } = await started({ window: { showDocument: { support: true } } });
  const uri = "file:///folder/strobe.fxt";
  await open(client, uri, clean);
  const shown = client.waitFor((message) => message.method === "window/showDocument", "showDocument");
  const answer = (await client.request("workspace/executeCommand", { command: "fxt.showChart", arguments: [uri] })).result;
  const request = await shown;
  assert.equal(request.params.external, true);
  assert.equal(request.params.uri, answer.uri);
  assert.match(answer.uri, /^file:\/\/\/.*\/strobe\.fxt-[0-9a-f]{16}\.html$/);
  const page = readFileSync(fileURLToPath(answer.uri), "utf8");
  assert.equal(page, (await client.request("fxt/chart", { textDocument: { uri } })).result.html);
  client.send({ id: request.id, result: { success: true } });
  for (const params of [{ command: "fxt.other", arguments: [uri] }, { command: "fxt.showChart", arguments: [] },
    { command: "fxt.showChart" }, { command: "fxt.showChart", arguments: [7] }]) {
    assert.equal((await client.request("workspace/executeCommand", params)).error.code, -32602, JSON.stringify(params));
  }
  assert.equal((await client.request("workspace/executeCommand", { command: "fxt.showChart", arguments: ["file:///closed.fxt"] })).result, null);
  assert.equal(await stopped(client), 0);
});

// What a folder holds: each file's text, each folder's mode and contents.
function contents(folder) {
  return Object.fromEntries(readdirSync(folder).map((name) => {
    const path = join(folder, name);
    const info = statSync(path);
    return [name, info.isDirectory() ? { mode: info.mode & 0o777, files: contents(path) } : readFileSync(path, "utf8")];
  }));
}

test("fxt.showChart keeps one page per document in a folder of the server's own, gone when it ends", async () => {
  const temporary = mkdtempSync(join(tmpdir(), "fxt-pages-"));
  try {
    const show = async (client, uri) =>
      fileURLToPath((await client.request("workspace/executeCommand", { command: "fxt.showChart", arguments: [uri] })).result.uri);
    const chartOf = async (client, uri) => (await client.request("fxt/chart", { textDocument: { uri } })).result.html;
    for (const ending of ["shutdown and exit", "the input closed", "exit without shutdown", "SIGTERM", "SIGINT", "SIGHUP"]) {
      const { client } = await started({}, { ...process.env, TMPDIR: `${temporary}/` });
      const [first, second] = ["file:///a/strobe.fxt", "file:///b/strobe.fxt"];
      await open(client, first, clean);
      await open(client, second, mistakes);
      const firstPage = await show(client, first);
      const secondPage = await show(client, second);
      client.notify("textDocument/didChange", { textDocument: { uri: first, version: 2 }, contentChanges: [{ text: mistakes }] });
      await client.diagnostics(first);
      assert.equal(await show(client, first), firstPage, "a document's page is written anew in its place");
      const [folder] = readdirSync(temporary);
      assert.match(folder, /^fxt-chart-/);
      assert.equal(dirname(firstPage), join(temporary, folder));
      assert.deepEqual(contents(temporary), {
        [folder]: { mode: 0o700, files: {
          [basename(firstPage)]: await chartOf(client, first),
          [basename(secondPage)]: await chartOf(client, second),
        } },
      });
      if (ending === "shutdown and exit") {
        assert.equal(await stopped(client), 0);
      } else if (ending === "the input closed") {
        client.close();
        assert.equal(await client.exited, 1);
      } else if (ending === "exit without shutdown") {
        client.notify("exit", null);
        assert.equal(await client.exited, 1);
      } else {
        // An editor's way to end it: the server goes by the signal, its pages with it.
        client.process.kill(ending);
        assert.equal(await client.exited, null);
        assert.equal(client.process.signalCode, ending);
      }
      assert.deepEqual(readdirSync(temporary), [], `nothing is left after ${ending}`);
    }
    // A folder that cannot be made is said, and nothing is written.
    const { client } = await started({}, { ...process.env, TMPDIR: join(temporary, "missing") });
    await open(client, "file:///strobe.fxt", clean);
    const said = client.waitFor((message) => message.method === "window/showMessage", "showMessage");
    assert.equal((await client.request("workspace/executeCommand", { command: "fxt.showChart", arguments: ["file:///strobe.fxt"] })).result, null);
    assert.match((await said).params.message, /could not be written: no folder for it could be made in .*missing: No such file/);
    assert.equal(await stopped(client), 0);
    assert.deepEqual(readdirSync(temporary), []);
  } finally {
    rmSync(temporary, { recursive: true, force: true });
  }
});

test("malformed JSON gets a ParseError and the server goes on", async () => {
  const { client } = await started();
  const body = Buffer.from("{this is not json");
  client.sendRaw(Buffer.concat([Buffer.from(`Content-Length: ${body.length}\r\n\r\n`), body]));
  const error = await client.waitFor((message) => message.error && message.id === null, "a ParseError");
  assert.equal(error.error.code, -32700);
  client.send({ id: 99, params: {} });
  assert.equal((await client.waitFor((m) => m.id === 99)).error.code, -32600);
  assert.equal(await stopped(client), 0);
});

// Each bad input ends the server with a message, never a crash or a hang.
for (const [name, bytes, problem] of [
  ["no Content-Length", "Content-Type: x\r\n\r\n{}", /without Content-Length/],
  ["a Content-Length that is no number", "Content-Length: many\r\n\r\n{}", /no number/],
  ["a huge Content-Length", "Content-Length: 99999999999\r\n\r\n", /more than allowed/],
  ["a body cut short", "Content-Length: 100\r\n\r\n{\"jsonrpc\":", /inside a message body/],
  ["a header that never ends", "X".repeat(5000), /longer than 1024/],
  ["an input that ends at once", "", /closed the input/],
]) {
  test(`the server ends cleanly on ${name}`, async () => {
    const run = spawnSync(server, ["--stdio"], { input: bytes, encoding: "utf8", timeout: 10000 });
    assert.equal(run.signal, null, "killed or timed out");
    assert.equal(run.status, 1);
    assert.match(run.stderr, problem);
  });
}

test("--version and a bad option", () => {
  assert.match(execFileSync(server, ["--version"], { encoding: "utf8" }), /^fxt-language-server \d/);
  assert.equal(spawnSync(server, ["--tcp"]).status, 2);
});

await runTests(tests);
