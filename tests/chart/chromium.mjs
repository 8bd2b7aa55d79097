// Debian's chromium, headless, driven through the DevTools protocol on a
// pipe: one browser for many pages, with every console message, log entry
// and network request of a page recorded.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

export class Chromium {
  constructor(program = "chromium") {
    this.profile = mkdtempSync(join(tmpdir(), "fxtchart-chromium-"));
    this.process = spawn(program, [
      "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--no-first-run", "--hide-scrollbars",
      "--remote-debugging-pipe", `--user-data-dir=${this.profile}`, "about:blank",
    ], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
    this.stderr = "";
    this.process.stderr.on("data", (chunk) => (this.stderr += chunk));
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.buffer = Buffer.alloc(0);
    this.exited = new Promise((resolve) => this.process.on("exit", resolve));
    this.process.stdio[4].on("data", (chunk) => this.receive(chunk));
    this.process.stdio[3].on("error", () => {});
  }

  receive(chunk) {
    this.buffer = Buffer.concat([this.buffer, chunk]);
    for (let end = this.buffer.indexOf(0); end >= 0; end = this.buffer.indexOf(0)) {
      const message = JSON.parse(this.buffer.subarray(0, end).toString("utf8"));
      this.buffer = this.buffer.subarray(end + 1);
      if (message.id !== undefined && this.pending.has(message.id)) {
        const { resolve, reject, method } = this.pending.get(message.id);
        this.pending.delete(message.id);
        if (message.error) reject(new Error(`${method}: ${message.error.message}`));
        else resolve(message.result);
      } else {
        for (const listener of this.listeners) listener(message);
      }
    }
  }

  send(method, params = {}, sessionId = undefined, milliseconds = 60000) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    this.process.stdio[3].write(JSON.stringify(message) + "\0");
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      setTimeout(() => reject(new Error(`${method}: no answer within ${milliseconds} ms`)),
        milliseconds).unref();
    });
  }

  // A new tab, with what it reports recorded in `page.events`.
  async open() {
    const { targetId } = await this.send("Target.createTarget", { url: "about:blank" });
    const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
    const page = new Page(this, sessionId, targetId);
    this.listeners.push((message) => {
      if (message.sessionId === sessionId) page.event(message);
    });
    for (const domain of ["Page", "Runtime", "Log", "Network"]) await page.send(`${domain}.enable`);
    return page;
  }

  async close() {
    await this.send("Browser.close").catch(() => {});
    await this.exited;
    rmSync(this.profile, { recursive: true, force: true });
  }
}

class Page {
  constructor(browser, sessionId, targetId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.targetId = targetId;
    this.events = [];
    this.loaded = null;
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  event(message) {
    this.events.push(message);
    if (message.method === "Page.loadEventFired" && this.loaded) this.loaded();
  }

  async navigate(url) {
    this.events = [];
    const loaded = new Promise((resolve) => (this.loaded = resolve));
    const { errorText } = await this.send("Page.navigate", { url });
    if (errorText) throw new Error(`${url}: ${errorText}`);
    await loaded;
  }

  // The value of an expression evaluated in the page, as JSON.
  async evaluate(expression) {
    const { result, exceptionDetails } =
      await this.send("Runtime.evaluate", { expression, returnByValue: true });
    if (exceptionDetails) throw new Error(`${expression}: ${JSON.stringify(exceptionDetails)}`);
    return result.value;
  }

  // What the page reported that a clean page does not: console messages,
  // exceptions, log entries of level warning or error, and any request
  // for something other than the page itself.
  complaints(url) {
    const complaints = [];
    for (const { method, params } of this.events) {
      if (method === "Runtime.consoleAPICalled") complaints.push(`console.${params.type}`);
      if (method === "Runtime.exceptionThrown") complaints.push(params.exceptionDetails.text);
      if (method === "Log.entryAdded" && params.entry.level !== "verbose" && params.entry.level !== "info") {
        complaints.push(`${params.entry.level}: ${params.entry.text}`);
      }
      if (method === "Network.requestWillBeSent" && params.request.url !== url) {
        complaints.push(`request for ${params.request.url}`);
      }
    }
    return complaints;
  }

  async screenshot(width, height) {
    await this.send("Emulation.setDeviceMetricsOverride",
      { width, height, deviceScaleFactor: 1, mobile: false });
    const { data } = await this.send("Page.captureScreenshot", { format: "png" });
    return Buffer.from(data, "base64");
  }
}
