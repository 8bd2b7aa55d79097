// The language server against clients that are broken or hostile: fields of
// the wrong kind, change lists that fail half way, JSON nested without end,
// lines of a million characters, a flood of diagnostics, memory that runs
// out, line ends of every kind, positions past any text, lone surrogates.
// Each time the server goes on, and answers from the text as it stands.
//   node hostile_client_test.mjs SERVER [sanitized]
// With "sanitized", the checks that limit virtual memory are skipped.
import { spawnSync } from "node:child_process";
import assert from "node:assert/strict";
import { Client, open, runTests, started as startedServer, stopped } from "./lsp_client.mjs";

const [server, sanitized] = process.argv.slice(2);
const tests = [];
const test = (name, body) => tests.push({ name, body });
const started = (capabilities) => startedServer(server, capabilities);

const head = 'fixture\nname = "A"\nversion = 1.0\nmanufacturer = "B"\nattribute\n  name = "INTENSITY"\n  channel = 1\n';
const whole = `${head}end\n`;
const at = (line, character) => ({ line, character });
const insertion = (position, text) => ({ range: { start: position, end: position }, text });

function logged(client, pattern) {
  return client.waitFor((m) => m.method === "window/logMessage" && pattern.test(m.params.message),
    `a log message like ${pattern}`);
}

function sendBody(client, body) {
  const bytes = Buffer.from(body);
  client.sendRaw(Buffer.concat([Buffer.from(`Content-Length: ${bytes.length}\r\n\r\n`), bytes]));
}

async function outline(client, uri) {
  return (await client.request("textDocument/documentSymbol", { textDocument: { uri } })).result;
}

async function hoverText(client, uri, position) {
  const answer = await client.request("textDocument/hover", { textDocument: { uri }, position });
  assert.equal(answer.error, undefined, JSON.stringify(answer.error));
  return answer.result?.contents.value ?? null;
}

test("a didOpen with a field missing or of the wrong kind opens nothing and replaces nothing", async () => {
  const { client } = await started();
  const uri = "file:///bad-open.fxt";
  const kept = "file:///kept.fxt";
  await open(client, kept, whole);
  for (const item of [
    { uri, version: "x", text: whole },
    { uri, version: 1, text: 5 },
    { uri, version: 1 },
    { uri, version: 1.5, text: whole },
  ]) {
    for (const [named, answer] of [[uri, []], [kept, [{ name: "A" }]]]) {
      client.notify("textDocument/didOpen", { textDocument: { ...item, uri: named } });
      await logged(client, /^textDocument\/didOpen passed over: /);
      assert.deepEqual((await outline(client, named)).map(({ name }) => ({ name })), answer);
    }
    assert.equal(await hoverText(client, uri, at(0, 0)), null, JSON.stringify(item));
  }
  client.notify("textDocument/didOpen", { textDocument: { uri: 5, version: 1, text: whole } });
  await logged(client, /uri is no string/);
  client.notify("textDocument/didOpen", { textDocument: "x" });
  await logged(client, /textDocument is no object/);
  assert.deepEqual((await open(client, uri, whole)).params.diagnostics, []);
  assert.equal(await stopped(client), 0);
});

test("a change list applies wholly or not at all", async () => {
  const { client } = await started();
  const uri = "file:///changes.fxt";
  await open(client, uri, head);
  const start = at(0, 0);
  for (const changes of [
    [{ text: "x".repeat(1000) }, { text: 5 }],
    [insertion(start, `/${"y".repeat(1000)}\n`), insertion(at("x", 0), "")],
    [insertion(start, "/\n"), { range: { start }, text: "" }],
    [{ text: whole }, {}],
    [{ text: whole }, "x"],
  ]) {
    client.notify("textDocument/didChange", { textDocument: { uri, version: 2 }, contentChanges: changes });
    await logged(client, /^textDocument\/didChange passed over: /);
    // The text is as it was: the outline and hover answer from it.
    assert.equal((await outline(client, uri))[0].name, "A");
    assert.match(await hoverText(client, uri, at(5, 12)), /\*\*INTENSITY\*\*, attribute 1/);
  }
  client.notify("textDocument/didChange", { textDocument: { uri, version: 3 }, contentChanges: [insertion(at(7, 0), "end\n")] });
  const published = await client.diagnostics(uri);
  assert.equal(published.params.version, 3);
  assert.deepEqual(published.params.diagnostics, []);
  client.notify("textDocument/didChange", { textDocument: { uri: "file:///never-opened.fxt", version: 2 }, contentChanges: [] });
  await logged(client, /the document is not open/);
  assert.equal(await stopped(client), 0);
});

test("JSON nested deeper than 512 levels is refused before it is copied", async () => {
  const { client } = await started();
  const deep = (levels) => "[".repeat(levels) + "]".repeat(levels);
  const hover = (id, extra) => `{"jsonrpc":"2.0","id":${id},"method":"textDocument/hover",` +
    `"params":{"textDocument":{"uri":"file:///a.fxt"},"position":{"line":0,"character":0},"x":${extra}}}`;
  sendBody(client, `{"jsonrpc":"2.0","id":${deep(100000)},"method":"shutdown"}`);
  assert.equal((await client.waitFor((m) => m.id === null, "the nested id's error")).error.code, -32600);
  sendBody(client, hover(7, deep(100000)));
  assert.equal((await client.waitFor((m) => m.id === 7)).error.code, -32602);
  sendBody(client, `{"jsonrpc":"2.0","method":"textDocument/didOpen","params":${deep(100000)}}`);
  await logged(client, /params nest deeper than 512 levels/);
  sendBody(client, deep(100000));
  assert.equal((await client.waitFor((m) => m.id === null, "the nested array's error")).error.code, -32600);
  // The params object is one level: 511 more are taken, 512 are not.
  sendBody(client, hover(8, deep(511)));
  assert.equal((await client.waitFor((m) => m.id === 8)).result, null);
  sendBody(client, hover(9, deep(512)));
  assert.equal((await client.waitFor((m) => m.id === 9)).error.code, -32602);
  assert.equal(await stopped(client), 0);
});

// The load counts each 99-character piece of the line as a line: a million
// characters draw ten thousand diagnostics, each placed on the one line.
test("a line of a million characters is analysed in linear time, its places exact", async () => {
  const { client } = await started();
  const uri = "file:///long-line.fxt";
  const text = whole.replace("end\n", `/${"x".repeat(1000000)}\nend\n`);
  let begun = Date.now();
  client.notify("textDocument/didOpen", { textDocument: { uri, version: 1, text } });
  const opened = await client.waitFor((m) => m.params?.uri === uri, "the diagnostics", 60000);
  const openSeconds = (Date.now() - begun) / 1000;
  const pieces = opened.params.diagnostics.filter((d) => d.code === "FT103");
  assert.ok(pieces.length > 900, `${pieces.length} pieces`);
  assert.ok(pieces.every((d, i) => d.range.start.line === 7 && d.range.start.character === 99 * (i + 1)));
  begun = Date.now();
  client.notify("textDocument/didChange", { textDocument: { uri, version: 2 }, contentChanges: [insertion(at(7, 1000001), "x")] });
  await client.waitFor((m) => m.params?.uri === uri, "the diagnostics", 60000);
  const changeSeconds = (Date.now() - begun) / 1000;
  // Positions found from each line's start took half a minute here, and
  // far longer in a build that is not optimised.
  assert.ok(openSeconds < 30 && changeSeconds < 30, `open ${openSeconds} s, change ${changeSeconds} s`);
  assert.equal(await stopped(client), 0);
});

test("diagnostics of every kind stop at 1000, and one more says how many were held back", async () => {
  const { client } = await started();
  const wide = (await open(client, "file:///wide.fxt", `${whole}${"€".repeat(100000)}\n`)).params.diagnostics;
  assert.equal(wide.length, 1001);
  assert.ok(wide.slice(0, 1000).every((d) => d.code === "FL113"));
  assert.deepEqual(wide[1000].range.start, at(0, 0));
  assert.equal(wide[1000].severity, 3);
  assert.equal(wide[1000].message, "99000 more diagnostics not shown: the first 1000 are");
  // The tester's and the rules' own count toward the same limit.
  // 1501 illegal tokens, the last of them the line of 10 wide characters.
  const text = `${head}${"illegal\n".repeat(1500)}${"€".repeat(10)}\nend\n`;
  const mixed = (await open(client, "file:///mixed.fxt", text)).params.diagnostics;
  assert.equal(mixed.length, 1001);
  assert.equal(mixed[1000].message, "511 more diagnostics not shown: the first 1000 are");
  assert.equal(await stopped(client), 0);
});

// The server takes some 8 MB of address space to start. Under 30 MB, a
// document of 10 MB is read, but memory runs out as its JSON is parsed;
// under 15 MB, one of 20 MB does not even fit, and is passed over unread.
if (sanitized !== "sanitized") {
  test("memory that runs out fails one message alone, and the server goes on", async () => {
    for (const [kilobytes, megabytes] of [[30000, 10], [15000, 20]]) {
      const client = new Client("/bin/sh", ["-c", `ulimit -v ${kilobytes} && exec "${server}" --stdio`]);
      await client.request("initialize", { capabilities: {} });
      const uri = "file:///huge.fxt";
      const text = `${whole}/${"x".repeat(megabytes * 1000000)}\n`;
      client.notify("textDocument/didOpen", { textDocument: { uri, version: 1, text } });
      if (megabytes === 10) {
        const told = await client.waitFor((m) => m.method === "window/showMessage", "the user told");
        assert.equal(told.params.message, "fxt-language-server: out of memory reading a message");
      } else {
        const refused = await client.waitFor((m) => m.id === null, "the error");
        assert.equal(refused.error.code, -32603);
        assert.equal(refused.error.message, "out of memory: the message is too large to read");
      }
      assert.deepEqual(await outline(client, uri), []);
      assert.deepEqual((await open(client, "file:///small.fxt", whole)).params.diagnostics, []);
      assert.equal(await stopped(client), 0);
    }
  });
}

// Template lines end at '\n'; the client's at '\r' too, so a lone '\r'
// moves what follows it one line down in the client's counting.
test("a lone \\r ends a line for the client, and the load reads the bytes it always did", async () => {
  const { client } = await started();
  const uri = "file:///cr.fxt";
  const text = 'fixture\r\nname = "A"\r\nversion = 1.0\nmanufacturer = "B"\nattribute\n  name = "INTENSITY"\n' +
    '  channel = 1\r  / a remark after a lone CR\nattribute\n  name = "PAN"\n  channel = 99\nend\n';
  const published = (await open(client, uri, text)).params.diagnostics;
  assert.deepEqual(published.map((d) => [d.code, d.range.start.line]), [["FT304", 10]]);
  assert.deepEqual(published[0].range.end, at(10, 14));
  assert.match(await hoverText(client, uri, at(9, 12)), /\*\*PAN\*\*, attribute 2/);
  client.notify("textDocument/didChange", { textDocument: { uri, version: 2 },
    contentChanges: [{ range: { start: at(10, 12), end: at(10, 14) }, text: "2" }] });
  assert.deepEqual((await client.diagnostics(uri)).params.diagnostics, []);
  // A '\r' inside a quoted value ends the quote for the load, and a line for the client.
  const quoted = 'fixture\nname = "A\rB"\nversion = 1.0\nmanufacturer = "B"\nattribute\n  name = "INTENSITY"\n  channel = 99\nend\n';
  const lines = (await open(client, "file:///quoted-cr.fxt", quoted)).params.diagnostics.map((d) => [d.code, d.range.start.line]);
  assert.deepEqual(lines, [["FT101", 1], ["FT304", 7]]);
  assert.equal(await stopped(client), 0);
});

test("notifications after shutdown are dropped", async () => {
  const { client } = await started();
  await client.request("shutdown", null);
  client.notify("textDocument/didOpen", { textDocument: { uri: "file:///late.fxt", version: 1, text: whole } });
  const refused = await client.request("textDocument/documentSymbol", { textDocument: { uri: "file:///late.fxt" } });
  assert.equal(refused.error.code, -32600);
  assert.ok(!client.messages.some((m) => m.method === "textDocument/publishDiagnostics"));
  client.notify("exit", null);
  assert.equal(await client.exited, 0);
});

test("a client that closes the server's output ends it with status 1, not by SIGPIPE", async () => {
  const { client } = await started();
  client.process.stdout.destroy();
  client.request("textDocument/hover", { textDocument: { uri: "file:///none.fxt" }, position: at(0, 0) });
  assert.equal(await client.exited, 1);
  const { stderr } = client.process;
  if (!stderr.readableEnded) await new Promise((resolve) => stderr.on("end", resolve));
  assert.match(client.stderr, /cannot write to the client/);
});

test("a change past any line or character stands at the end of the text", async () => {
  const { client } = await started();
  const uri = "file:///far.fxt";
  for (const position of [at(2 ** 31, 0), at(2 ** 32 + 1, 0), at(2 ** 64, 2 ** 64), at(1e300, 1e300),
    at(7, 2 ** 31), at(7, 1e300), at(7.5, 0.5)]) {
    await open(client, uri, head);
    client.notify("textDocument/didChange", { textDocument: { uri, version: 2 }, contentChanges: [insertion(position, "end\n")] });
    assert.deepEqual((await client.diagnostics(uri)).params.diagnostics, [], JSON.stringify(position));
  }
  await open(client, uri, head);
  // The end of the text is in the attribute block, which has no end line.
  assert.match(await hoverText(client, uri, at(1e300, 2 ** 53)), /\*\*INTENSITY\*\*/);
  assert.equal(await stopped(client), 0);
});

test("a lone surrogate escape reads as U+FFFD, and the message is kept", async () => {
  const { client } = await started();
  const uri = "file:///surrogate.fxt";
  // JSON.stringify writes a lone surrogate as the escape "\ud800".
  const published = await open(client, uri, whole.replace('"A"', '"A\ud800\udc00\ud800"'));
  assert.deepEqual(published.params.diagnostics.map((d) => [d.code, d.range.start.character]),
    [["FL113", 9], ["FL113", 11]]);
  assert.equal((await outline(client, uri))[0].name, "A??");
  assert.equal(await stopped(client), 0);
});

test("--version and --help fail when their output is lost", () => {
  for (const option of ["--version", "--help"]) {
    const full = spawnSync("/bin/sh", ["-c", `"${server}" ${option} >/dev/full`], { encoding: "utf8" });
    assert.equal(full.status, 2, option);
    assert.match(full.stderr, /^fxt-language-server: error writing standard output: No space left on device$/m);
    const closed = spawnSync("/bin/sh", ["-c", `"${server}" ${option} >&-`], { encoding: "utf8" });
    assert.equal(closed.status, 2, option);
  }
});

await runTests(tests);
