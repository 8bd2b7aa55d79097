// Every entry of the diagnostic catalogue is reached by at least one
// whole-program case: fxtlint runs over every template of tests/cli, the
// generated ones included, and the codes it reports, as diagnostics or as
// the notes that carry a finding, must cover the rules
// that its SARIF format lists. Every code is documented in each page named,
// and no page names a code that the catalogue lacks.
//   node catalogue_coverage_test.mjs FXTLINT CASES_DIR [PAGE...]
import { execFileSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

const [fxtlint, cases, ...pages] = process.argv.slice(2);
// The load's own messages, which fxtlint never reports.
const loadMessages = ["FT001", "FT002", "FT003"];
// FT901 is reached only when memory runs out, which no case can arrange;
// the unit tests reach it through a slot that holds no template.
const unreachable = new Set(["FT901"]);

function lint(args, cwd) {
  try {
    return execFileSync(fxtlint, args, { cwd, encoding: "utf8", stdio: ["ignore", "pipe", "ignore"], maxBuffer: 1 << 28 });
  } catch (error) {
    if (error.status !== 1 && error.status !== 2) throw error;
    return error.stdout;
  }
}

function* filesBelow(directory) {
  for (const name of readdirSync(directory)) {
    const path = join(directory, name);
    if (statSync(path).isDirectory()) yield* filesBelow(path);
    else yield path;
  }
}

const generated = mkdtempSync(join(tmpdir(), "coverage-"));
try {
  for (const path of filesBelow(cases)) {
    if (!path.endsWith(".gen")) continue;
    const name = path.replace(/[\/.]/g, "_") + ".fxt";
    writeFileSync(join(generated, name), execFileSync("bash", [path], { maxBuffer: 1 << 28 }));
  }
  const reached = new Set();
  for (const directory of [cases, generated]) {
    for (const file of JSON.parse(lint(["--no-config", "-f", "json", "--max-diagnostics", "0", "."], directory)).files) {
      for (const diagnostic of file.diagnostics) {
        reached.add(diagnostic.code);
        // A rule's finding that explains a diagnostic of the tester's is its note.
        for (const note of diagnostic.notes) if (note.code) reached.add(note.code);
      }
    }
  }
  const rules = JSON.parse(lint(["--no-config", "-f", "sarif", "."], cases)).runs[0].tool.driver.rules.map((rule) => rule.id);
  const missing = rules.filter((code) => !reached.has(code) && !unreachable.has(code));
  let failed = false;
  if (missing.length > 0) {
    console.log(`no case reaches ${missing.join(", ")}`);
    failed = true;
  }
  const known = new Set([...rules, ...loadMessages]);
  for (const page of pages) {
    const text = readFileSync(page, "utf8");
    const named = new Set(text.match(/\bF[TL]\d{3}\b/g) ?? []);
    const undocumented = rules.filter((code) => !named.has(code));
    const unknown = [...named].filter((code) => !known.has(code));
    if (undocumented.length > 0) console.log(`${page} lacks ${undocumented.join(", ")}`);
    if (unknown.length > 0) console.log(`${page} names unknown ${unknown.join(", ")}`);
    failed ||= undocumented.length > 0 || unknown.length > 0;
  }
  if (failed) process.exit(1);
  console.log(`all ${rules.length} catalogue entries reached, but for ${[...unreachable].join(", ")}`);
} finally {
  rmSync(generated, { recursive: true, force: true });
}
