// The man pages and the programs' --help agree: every page's SEE ALSO names
// every other page; a program that answers --help names the options its
// page documents, and no other; fxtlint's help and page name the formats it
// accepts, the gcc line as it prints it, and codes of the catalogue.
//   node pages_test.mjs BIN_DIR MAN_DIR
import { spawnSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { join } from "node:path";

const [bin, man] = process.argv.slice(2);
const pages = { parse: "parse.1", fxtdump: "fxtdump.1", fxtlint: "fxtlint.1", fxtfmt: "fxtfmt.1", fxtchart: "fxtchart.1", "fxt-language-server": "fxt-language-server.1", fxtimport: "fxtimport.1", fxt: "fxt.5" };
const problems = [];
const roff = (name) => readFileSync(join(man, pages[name]), "utf8");
const plain = (text) => text.replace(/\\-/g, "-").replace(/\\f[BIRP]/g, "");
const run = (program, args, input = "") =>
  spawnSync(join(bin, program), args, { input, encoding: "utf8" });

function section(text, heading) {
  const start = text.indexOf(`.SH ${heading}\n`);
  if (start < 0) return "";
  const end = text.indexOf("\n.SH ", start + 1);
  return text.slice(start, end < 0 ? undefined : end);
}

for (const name of Object.keys(pages)) {
  const seeAlso = plain(section(roff(name), "SEE ALSO"));
  for (const [other, file] of Object.entries(pages)) {
    if (other === name) continue;
    const [, number] = /\.(\d)$/.exec(file);
    if (!seeAlso.includes(`.BR ${other} (${number})`)) problems.push(`${pages[name]}: SEE ALSO lacks ${other}(${number})`);
  }
}

// The long options of a text: --name, as the help or the page writes them.
const longOptions = (text) => new Set(plain(text).match(/--[a-z][a-z-]*/g) ?? []);

for (const program of ["parse", "fxtdump", "fxtlint", "fxtfmt", "fxtchart", "fxt-language-server", "fxtimport"]) {
  const help = run(program, ["--help"]);
  if (help.status !== 0) continue;  // a program without --help
  const inHelp = longOptions(help.stdout);
  const inPage = longOptions(section(roff(program), "OPTIONS"));
  for (const option of inHelp) if (!inPage.has(option)) problems.push(`${program} --help names ${option}, its page does not`);
  for (const option of inPage) if (!inHelp.has(option)) problems.push(`${pages[program]} names ${option}, --help does not`);
}

// fxtlint's formats: each that --help and the page name is accepted, and
// the two name the same ones.
const help = run("fxtlint", ["--help"]).stdout;
const formatsInHelp = new Set([...help.matchAll(/^ {2}(?:-f, --format FORMAT)? +([a-z]+)(?: \(default\))?:/gm)].map((m) => m[1]));
const formatEntry = /\.TP\n\.BR \\-f[^\n]*\n([\s\S]*?)\n\.TP/.exec(roff("fxtlint"))[1];
const formatsOnPage = new Set([...formatEntry.matchAll(/^\.BR? ([a-z]+)/gm)].map((m) => m[1]));
if ([...formatsInHelp].sort().join() !== [...formatsOnPage].sort().join()) {
  problems.push(`formats: --help names ${[...formatsInHelp]}, the page ${[...formatsOnPage]}`);
}
for (const format of formatsInHelp) {
  if (run("fxtlint", ["-f", format, "--version"]).status !== 0) problems.push(`fxtlint refuses -f ${format}`);
}
if (run("fxtlint", ["-f", "bogus", "--version"]).status !== 3) problems.push("fxtlint accepts -f bogus");

// The gcc line as --help and the page show it, and as fxtlint prints it.
const template = "fixture\nchannel = 1\nend\n";
const printed = run("fxtlint", ["-"], template).stdout.split("\n")[0];
if (!/^<stdin>:\d+:\d+: (error|warning): .* \[F[TL]\d{3}\]$/.test(printed)) problems.push(`gcc line: ${printed}`);
if (!help.includes("FILE:LINE:COLUMN: error|warning: TEXT [CODE]")) problems.push("--help lacks the gcc line");
if (!roff("fxtlint").includes("\\fIfile\\fP:\\fIline\\fP:\\fIcolumn\\fP: error: \\fItext\\fP [\\fIcode\\fP]")) {
  problems.push("fxtlint(1) lacks the gcc line");
}

// The codes and prefixes that --help gives as examples are the catalogue's.
const sarif = JSON.parse(run("fxtlint", ["-f", "sarif", "-"], template).stdout);
const codes = sarif.runs[0].tool.driver.rules.map((rule) => rule.id);
for (const example of help.match(/\bF[TL]\d+\b/g) ?? []) {
  if (!codes.some((code) => code.startsWith(example))) problems.push(`--help names ${example}, which begins no code`);
}

for (const problem of problems) console.log(problem);
if (problems.length > 0) process.exit(1);
console.log(`${Object.keys(pages).length} pages see each other; --help agrees with the pages`);
