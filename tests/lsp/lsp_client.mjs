// A small LSP client over the server's standard input and output, for the
// protocol tests: it frames what it sends and unframes what it reads.
import { spawn } from "node:child_process";

export class Client {
  constructor(server, args = ["--stdio"], env = process.env) {
    this.process = spawn(server, args, { stdio: ["pipe", "pipe", "pipe"], env });
    this.buffer = Buffer.alloc(0);
    this.messages = [];
    this.waiters = [];
    this.stderr = "";
    this.nextId = 1;
    this.exited = new Promise((resolve) => this.process.on("exit", (code) => resolve(code)));
    this.process.stdout.on("data", (chunk) => this.receive(chunk));
    this.process.stderr.on("data", (chunk) => (this.stderr += chunk));
    this.process.stdin.on("error", () => {});
  }

  receive(chunk) {
    this.buffer = Buffer.concat([this.buffer, chunk]);
    for (;;) {
      const headerEnd = this.buffer.indexOf("\r\n\r\n");
      if (headerEnd < 0) return;
      const length = Number(/Content-Length: (\d+)/.exec(this.buffer.subarray(0, headerEnd).toString())[1]);
      if (this.buffer.length < headerEnd + 4 + length) return;
      const body = this.buffer.subarray(headerEnd + 4, headerEnd + 4 + length).toString("utf8");
      this.buffer = this.buffer.subarray(headerEnd + 4 + length);
      this.messages.push(JSON.parse(body));
      this.wake();
    }
  }

  wake() {
    for (const waiter of [...this.waiters]) {
      const index = this.messages.findIndex(waiter.match);
      if (index >= 0) {
        const [message] = this.messages.splice(index, 1);
        this.waiters.splice(this.waiters.indexOf(waiter), 1);
        waiter.resolve(message);
      }
    }
  }

  // The next message that matches, within the time allowed.
  waitFor(match, what = "a message", milliseconds = 10000) {
    return new Promise((resolve, reject) => {
      const waiter = { match, resolve };
      this.waiters.push(waiter);
      this.wake();
      setTimeout(() => reject(new Error(`no ${what} within ${milliseconds} ms`)), milliseconds).unref();
    });
  }

  sendRaw(bytes) {
    this.process.stdin.write(bytes);
  }

  send(message) {
    const body = Buffer.from(JSON.stringify({ jsonrpc: "2.0", ...message }), "utf8");
    this.sendRaw(Buffer.concat([Buffer.from(`Content-Length: ${body.length}\r\n\r\n`), body]));
  }

  request(method, params) {
    const id = this.nextId++;
    this.send({ id, method, params });
    return this.waitFor((message) => message.id === id, `answer to ${method}`);
  }

  notify(method, params) {
    this.send({ method, params });
  }

  diagnostics(uri) {
    return this.waitFor((message) => message.method === "textDocument/publishDiagnostics" &&
      message.params.uri === uri, `diagnostics of ${uri}`);
  }

  close() {
    this.process.stdin.end();
  }
}

// A server started and initialised, with its capabilities.
export async function started(server, capabilities = {}, env = process.env) {
  const client = new Client(server, ["--stdio"], env);
  const answer = await client.request("initialize", { processId: null, rootUri: null, capabilities });
  client.notify("initialized", {});
  return { client, capabilities: answer.result.capabilities };
}

// Shuts the server down; its exit status.
export async function stopped(client) {
  await client.request("shutdown", null);
  client.notify("exit", null);
  return client.exited;
}

// Opens a document; the diagnostics published for it.
export function open(client, uri, text, version = 1) {
  client.notify("textDocument/didOpen", { textDocument: { uri, languageId: "fxt", version, text } });
  return client.diagnostics(uri);
}

// Runs each test in turn, says how each went, and exits 1 when any failed.
export async function runTests(tests) {
  let failed = 0;
  for (const { name, body } of tests) {
    const begun = Date.now();
    try {
      await body();
      console.log(`ok   ${name} (${(Date.now() - begun) / 1000} s)`);
    } catch (error) {
      failed += 1;
      console.log(`FAIL ${name}\n     ${error.stack.split("\n").slice(0, 12).join("\n     ")}`);
    }
  }
  process.exit(failed === 0 ? 0 : 1);
}
