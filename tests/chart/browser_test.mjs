// fxtchart's pages in a real browser: Debian's chromium, headless, opens the
// page of every example and of generated templates from disk. No page may
// log a warning or an error or ask for anything but itself; every link must
// lead to an element of the page; the page must parse as XML, each of its
// pictures as SVG; and its text tables must hold exactly the model that
// fxtdump --tolerant prints, with the tester's result. A screenshot of each example is kept, and one example is
// looked at dark and printed on A4.
//   node browser_test.mjs FXTCHART FXTDUMP FXTGEN examples EXAMPLES_DIR ARTIFACTS_DIR TEMPLATE...
//   node browser_test.mjs FXTCHART FXTDUMP FXTGEN generated KIND BYTES
// The first form checks the examples and the templates named, keeps their
// screenshots and looks at the themes and at print; the second checks the
// template that `fxtgen KIND BYTES` writes.
import { execFile, execFileSync, spawnSync } from "node:child_process";
import { promisify } from "node:util";
import { mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { basename, join, resolve } from "node:path";
import { pathToFileURL } from "node:url";
import assert from "node:assert/strict";
import { Chromium } from "./chromium.mjs";
import { modelOfPage, shownText } from "./page_model.mjs";

const [fxtchart, fxtdump, fxtgen, mode, ...rest] = process.argv.slice(2);
if (spawnSync("chromium", ["--version"]).error) {
  console.log("SKIP: chromium is not installed (apt-get install chromium)");
  process.exit(77);
}

const A4_PRINTABLE_WIDTH = 703;  // CSS pixels: 210 mm less the page's two 12 mm margins

const work = mkdtempSync(join(tmpdir(), "fxtchart-"));

// What a page must be, whatever the template.
async function check(tab, name, template) {
  const page = join(work, `${basename(template, ".fxt")}.html`);
  execFileSync(fxtchart, [template, "-o", page]);
  // The tolerant model, with the tester's result and counts.
  const dump = (args) => promisify(execFile)(fxtdump, [...args, template], { maxBuffer: 1 << 30 });
  const dumped = Promise.all([dump([]), dump(["--tolerant"])]);
  const url = pathToFileURL(page).href;
  await tab.navigate(url);
  assert.deepEqual(tab.complaints(url), [], `${name}: the page complains`);
  const facts = await tab.evaluate(`(${pageFacts})()`);
  assert.deepEqual(facts.brokenLinks, [], `${name}: links that lead nowhere`);
  assert.equal(facts.foreign, 0, `${name}: the page holds a script or loads a resource`);
  const html = readFileSync(page, "utf8");
  const xml = await tab.evaluate(`(${xmlProblems})(${JSON.stringify(html)})`);
  assert.deepEqual(xml, [], `${name}: not XML`);
  const shownModel = modelOfPage(facts);
  const [tester, tolerant] = (await dumped).map(({ stdout }) => JSON.parse(stdout));
  const model = shownText({ ...tolerant, result: tester.result, errorCount: tester.errorCount,
    warningFlag: tester.warningFlag });
  if (JSON.stringify(shownModel) !== JSON.stringify(model)) {
    assert.deepEqual(shownModel, model, `${name}: the text tables differ from fxtdump's model`);
  }
  return facts;
}

// Runs in the page: its tables, facts and links, as data.
function pageFacts() {
  const cell = (td) => ({ text: td.textContent, absent: td.matches(".absent, :has(> .absent)"),
    spans: [...td.querySelectorAll("span")].map((span) => span.textContent) });
  const table = (element) => element && {
    head: [...element.tHead.rows[0].cells].map((th) => th.textContent),
    rows: [...element.tBodies[0].rows].map((tr) => ({ repeat: tr.classList.contains("repeat"), cells: [...tr.cells].map(cell) })),
  };
  const facts = {};
  for (const dt of document.querySelectorAll("dl.facts dt")) facts[dt.textContent] = cell(dt.nextElementSibling);
  return {
    facts,
    attributes: table(document.querySelector("table.attributes")),
    parameters: table(document.querySelector("table.parameters")),
    stops: [...document.querySelectorAll("figure.parameter")].map((figure) => table(figure.querySelector("table.stops"))),
    brokenLinks: [...document.querySelectorAll("a[href]")].map((a) => a.getAttribute("href"))
      .filter((href) => !href.startsWith("#") || !document.getElementById(href.slice(1))),
    foreign: document.querySelectorAll("script, link, img, iframe, object, embed, [src]").length,
  };
}

// Runs in the page: the page read as XML, and each picture as an SVG
// document of its own; what the parser said, if anything.
function xmlProblems(html) {
  const problems = [];
  const parse = (text, type) => {
    const document = new DOMParser().parseFromString(text, type);
    const error = document.querySelector("parsererror");
    if (error) problems.push(error.textContent.slice(0, 300));
    return document;
  };
  parse(html, "application/xml");
  for (const svg of html.match(/<svg class="chart[^]*?\n<\/svg>/g) ?? []) {
    const document = parse(svg.replace("<svg ", '<svg xmlns="http://www.w3.org/2000/svg" '), "image/svg+xml");
    if (!(document.documentElement instanceof SVGSVGElement)) problems.push("not an SVG picture");
  }
  return problems;
}

// The colours a page shows, as luminances 0 to 1.
function luminances() {
  const luminance = (colour) => {
    const [r, g, b] = colour.match(/\d+/g).map(Number);
    return (0.2126 * r + 0.7152 * g + 0.0722 * b) / 255;
  };
  const style = getComputedStyle(document.body);
  return { background: luminance(style.backgroundColor), text: luminance(style.color) };
}

async function screenshot(tab, artifacts, name) {
  const height = await tab.evaluate("document.documentElement.scrollHeight");
  writeFileSync(join(artifacts, `${name}.png`), await tab.screenshot(1320, Math.min(height, 16000)));
}

const browser = new Chromium();
const failures = [];
async function run(name, body) {
  try {
    const started = Date.now();
    await body();
    console.log(`ok - ${name} (${Date.now() - started} ms)`);
  } catch (error) {
    failures.push(name);
    console.log(`not ok - ${name}\n${error.stack ?? error}`);
  }
}

async function checkExamples(tab, examples, artifacts, others) {
  mkdirSync(artifacts, { recursive: true });
  const templates = readdirSync(examples).filter((file) => file.endsWith(".fxt")).sort();
  for (const file of templates) {
    await run(`example ${file}`, async () => {
      await check(tab, file, join(examples, file));
      await screenshot(tab, artifacts, basename(file, ".fxt"));
    });
  }
  for (const template of others) {
    await run(`template ${basename(template)}`, () => check(tab, template, template));
  }
  await run("light and dark themes follow the reader's preference", async () => {
    await check(tab, "spot-575", join(examples, "spot-575.fxt"));
    const light = await tab.evaluate(`(${luminances})()`);
    assert.ok(light.background > 0.9 && light.text < 0.3, JSON.stringify(light));
    await tab.send("Emulation.setEmulatedMedia", { features: [{ name: "prefers-color-scheme", value: "dark" }] });
    const dark = await tab.evaluate(`(${luminances})()`);
    assert.ok(dark.background < 0.1 && dark.text > 0.8, JSON.stringify(dark));
    await screenshot(tab, artifacts, "spot-575-dark");
    await tab.send("Emulation.setEmulatedMedia", { features: [] });
  });
  await run("a page prints on A4, light, without running off the page's width", async () => {
    for (const file of ["spot-575.fxt", "typical-mistakes.fxt"]) {
      await check(tab, file, join(examples, file));
      await tab.send("Emulation.setEmulatedMedia",
        { media: "print", features: [{ name: "prefers-color-scheme", value: "dark" }] });
      await tab.send("Emulation.setDeviceMetricsOverride",
        { width: A4_PRINTABLE_WIDTH, height: 1000, deviceScaleFactor: 1, mobile: false });
      const width = await tab.evaluate("document.documentElement.scrollWidth");
      assert.ok(width <= A4_PRINTABLE_WIDTH, `${file} is ${width} pixels wide in print`);
      const printed = await tab.evaluate(`(${luminances})()`);
      assert.ok(printed.background > 0.9, `${file} prints dark: ${JSON.stringify(printed)}`);
      await tab.send("Emulation.setEmulatedMedia", { media: "", features: [] });
      const { data } = await tab.send("Page.printToPDF", { preferCSSPageSize: true });
      const pdf = Buffer.from(data, "base64");
      assert.equal(pdf.subarray(0, 5).toString(), "%PDF-");
      writeFileSync(join(artifacts, `${basename(file, ".fxt")}.pdf`), pdf);
    }
  });
  console.log(`screenshots in ${resolve(artifacts)}`);
}

async function checkGenerated(tab, kind, bytes) {
  await run(`generated ${kind}`, async () => {
    const template = join(work, `${kind}.fxt`);
    writeFileSync(template, execFileSync(fxtgen, [kind, bytes], { maxBuffer: 1 << 30 }));
    await check(tab, kind, template);
  });
}

try {
  const tab = await browser.open();
  if (mode === "examples") {
    const [examples, artifacts, ...others] = rest;
    await checkExamples(tab, examples, artifacts, others);
  } else {
    await checkGenerated(tab, ...rest);
  }
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
if (failures.length > 0) {
  console.log(`${failures.length} failed: ${failures.join(", ")}`);
  process.exit(1);
}
