// Every example of the template language's page is checked by the tester:
// each template marked ".\" example NAME" goes through parse, whose report
// (after its banner) must be the one marked ".\" parse NAME".
//   node doc_examples_test.mjs PARSE PAGE
import { spawnSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

const [parse, page] = process.argv.slice(2);
const lines = readFileSync(page, "utf8").split("\n");

// The text of a roff example block as a reader of the page sees it.
function unescaped(line) {
  return line.replace(/\\-/g, "-").replace(/\\\(dq/g, '"').replace(/\\\(aq/g, "'")
    .replace(/\\&/g, "").replace(/\\e/g, "\\");
}

function blockAfter(marker) {
  const start = lines.indexOf(marker);
  if (start < 0 || lines[start + 1] !== ".EX") throw new Error(`no block after ${marker}`);
  const end = lines.indexOf(".EE", start);
  return lines.slice(start + 2, end).map(unescaped).join("\n");
}

const names = lines.filter((l) => l.startsWith('.\\" example ')).map((l) => l.slice(12));
const banner = "\nTessaly \nOrvex Fixture File Tester\nVersion 0.3\n\n\n";
const work = mkdtempSync(join(tmpdir(), "page-"));
let failed = 0;
try {
  for (const name of names) {
    const file = join(work, `${name}.fxt`);
    writeFileSync(file, blockAfter(`.\\" example ${name}`) + "\n");
    const run = spawnSync(parse, [file], { encoding: "latin1" });
    const report = run.stdout.startsWith(banner) ? run.stdout.slice(banner.length) : run.stdout;
    const want = blockAfter(`.\\" parse ${name}`);
    // A verdict ends with a line end, any other report without one.
    if (report.replace(/\n$/, "") !== want) {
      failed += 1;
      console.log(`${name}: parse says\n${report}\nthe page says\n${want}`);
    }
  }
} finally {
  rmSync(work, { recursive: true, force: true });
}
if (names.length < 5) {
  console.log(`only ${names.length} examples found`);
  failed += 1;
}
if (failed === 0) console.log(`all ${names.length} examples of the page hold`);
process.exit(failed === 0 ? 0 : 1);
