// The GitHub Actions problem matcher shipped in tools/github reads every line
// that fxtlint prints in its gcc format, over every template of the
// whole-program cases, with the file, line, column, severity, text and code
// that fxtlint's JSON format gives for the same diagnostic.
//   node problem_matcher_test.mjs FXTLINT MATCHER CASES_DIR
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";

const [fxtlint, matcherPath, cases] = process.argv.slice(2);
const matcher = JSON.parse(readFileSync(matcherPath, "utf8")).problemMatcher[0];
const pattern = matcher.pattern[0];
const regexp = new RegExp(pattern.regexp);

function run(args) {
  try {
    return execFileSync(fxtlint, args, { cwd: cases, encoding: "utf8", stdio: ["ignore", "pipe", "ignore"], maxBuffer: 1 << 28 });
  } catch (error) {
    if (error.status !== 1) throw error;  // 1: fxtlint found errors
    return error.stdout;
  }
}

let failures = 0;
function fail(message) {
  failures += 1;
  if (failures <= 20) console.log(message);
}

for (const extra of [[], ["--werror"]]) {
  const lines = run([...extra, "."]).split("\n").filter((line) => line !== "");
  const expected = JSON.parse(run([...extra, "-f", "json", "."])).files.flatMap((file) =>
    file.diagnostics.map((diagnostic) => ({ file: file.path, ...diagnostic })));
  if (lines.length !== expected.length || lines.length === 0) {
    fail(`${lines.length} gcc lines for ${expected.length} diagnostics`);
  }
  lines.forEach((line, i) => {
    const match = regexp.exec(line);
    if (!match) return fail(`no match: ${line}`);
    const want = expected[i];
    const got = {
      file: match[pattern.file],
      line: Number(match[pattern.line]),
      column: Number(match[pattern.column]),
      severity: match[pattern.severity],
      text: match[pattern.message],
      code: match[pattern.code],
    };
    for (const key of Object.keys(got)) {
      if (got[key] !== want[key]) fail(`${line}\n  ${key}: ${got[key]}, expected ${want[key]}`);
    }
  });
  console.log(`${lines.length} lines matched${extra.length ? " with " + extra.join(" ") : ""}`);
}
process.exit(failures === 0 ? 0 : 1);
