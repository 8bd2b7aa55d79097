// fxtlint's documentation has one source, the program: the README's and the
// man page's tables of rules say word for word what `fxtlint --explain`
// says, and their lists of codes what `--list-rules` says (pages_test.mjs
// holds the options and formats to --help). On a difference the test prints
// the entry as the program would have it.
//   node rule_docs_test.mjs FXTLINT README.md man/fxtlint.1
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";

const [fxtlint, readmePath, manPath] = process.argv.slice(2);
const run = (...args) => execFileSync(fxtlint, args, { encoding: "utf8" });
const readme = readFileSync(readmePath, "utf8");
const man = readFileSync(manPath, "utf8");
let failed = false;
const fail = (message) => {
  console.log(message);
  failed = true;
};

// `--list-rules`: CODE  SEVERITY  SUMMARY.
const codes = run("--list-rules").trimEnd().split("\n").map((line) => {
  const [, code, severity, summary] = line.match(/^(\S+)  (\S+) +(.*)$/);
  return { code, severity, summary };
});

// `--explain CODE` of a rule: a heading, then one line per field.
function explain(code) {
  const fields = {};
  for (const line of run("--explain", code).trimEnd().split("\n").slice(1)) {
    const [, name, value] = line.match(/^([^:]+): (.*)$/);
    fields[name] = value;
  }
  return fields;
}

// The program's texts mark code with backquotes, as the README does; the
// man page sets it in bold.
const roff = (text) =>
  text.replace(/\\/g, "\\e").replace(/-/g, "\\-").replace(/'/g, "\\(aq")
    .replace(/`([^`]*)`/g, "\\fB$1\\fP");

function manEntry({ code, severity }, doc) {
  const lines = [
    ".TP", `.B ${code}`,
    `(${severity}, placed on ${roff(doc["Placed on"])}) ${roff(doc.Catches)}`,
    roff(doc.Why), roff(doc.Mend),
  ];
  if (doc.Fix !== "none") lines.push(`With \\fB\\-\\-fix\\fP: ${roff(doc.Fix)}`);
  return lines.join("\n") + "\n";
}

function readmeRow({ code, severity }, doc) {
  const fix = doc.Fix === "none" ? "" : doc.Fix;
  return `| \`${code}\` (${severity}) | ${doc.Catches} | ${doc.Why} | ${doc.Mend} | ` +
    `${doc["Placed on"]} | ${fix} |\n`;
}

for (const entry of codes) {
  if (!entry.code.startsWith("FL")) continue;
  const doc = explain(entry.code);
  const wantMan = manEntry(entry, doc);
  if (!man.includes(wantMan)) fail(`${manPath}: the entry of ${entry.code} is not\n${wantMan}`);
  const wantRow = readmeRow(entry, doc);
  if (!readme.includes(wantRow)) fail(`${readmePath}: the row of ${entry.code} is not\n${wantRow}`);
}

// The lists of codes: the man page's entry and the README's row of each.
for (const { code, severity, summary } of codes) {
  const manSummary = `.B ${code}\n${severity}: ${roff(summary)}\n`;
  if (!man.includes(manSummary)) fail(`${manPath}: no code entry\n${manSummary}`);
  const row = new RegExp(`^\\| \`${code}\` \\| ${severity} \\|.*\\| (.*) \\|$`, "m").exec(readme);
  if (row === null || row[1] !== summary) fail(`${readmePath}: the code row of ${code} lacks "${summary}"`);
}

if (failed) process.exit(1);
console.log(`${codes.length} codes documented as the program says`);
