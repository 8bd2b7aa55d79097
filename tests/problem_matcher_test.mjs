// The GitHub Actions problem matchers shipped in tools/github read every line
// that fxtlint prints in its gcc format, over every template of the
// whole-program cases: a diagnostic with the file, line, column, severity,
// text and code that fxtlint's JSON format gives for it, and each of its
// notes with the file, line, column and text of the note, and the code of
// the finding that the note carries, if any.
//   node problem_matcher_test.mjs FXTLINT MATCHER CASES_DIR
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";

const [fxtlint, matcherPath, cases] = process.argv.slice(2);
const [diagnosticMatcher, noteMatcher] = JSON.parse(readFileSync(matcherPath, "utf8")).problemMatcher;

function run(args) {
  try {
    return execFileSync(fxtlint, args, { cwd: cases, encoding: "utf8", stdio: ["ignore", "pipe", "ignore"], maxBuffer: 1 << 28 });
  } catch (error) {
    if (error.status !== 1 && error.status !== 2) throw error;  // 1: errors, 2: unreadable paths
    return error.stdout;
  }
}

// What a matcher reads from a line, or null.
function read(matcher, line) {
  const pattern = matcher.pattern[0];
  const match = new RegExp(pattern.regexp).exec(line);
  if (!match) return null;
  const field = (name) => (pattern[name] === undefined ? undefined : match[pattern[name]]);
  return {
    file: field("file"),
    line: Number(field("line")),
    column: Number(field("column")),
    severity: field("severity") ?? matcher.severity,
    text: field("message"),
    code: field("code"),
  };
}

let failures = 0;
function fail(message) {
  failures += 1;
  if (failures <= 20) console.log(message);
}

function compare(line, got, want) {
  for (const key of Object.keys(want)) {
    if (got[key] !== want[key]) fail(`${line}\n  ${key}: ${got[key]}, expected ${want[key]}`);
  }
}

for (const extra of [[], ["--werror"]]) {
  const lines = run([...extra, "--no-config", "."]).split("\n").filter((line) => line !== "");
  const expected = JSON.parse(run([...extra, "--no-config", "-f", "json", "."])).files.flatMap((file) =>
    file.diagnostics.flatMap((diagnostic) => [
      { kind: "diagnostic", file: file.path, line: diagnostic.line, column: diagnostic.column,
        severity: diagnostic.severity, text: diagnostic.text, code: diagnostic.code },
      ...diagnostic.notes.map((note) => ({
        kind: "note", file: file.path, line: note.line, column: note.column,
        severity: "notice", text: note.code ? `${note.text} [${note.code}]` : note.text })),
    ]));
  if (lines.length !== expected.length || lines.length === 0) {
    fail(`${lines.length} gcc lines for ${expected.length} diagnostics and notes`);
  }
  lines.forEach((line, i) => {
    const { kind, ...want } = expected[i] ?? {};
    const got = read(kind === "note" ? noteMatcher : diagnosticMatcher, line);
    if (!got) return fail(`no ${kind} match: ${line}`);
    // A text that quotes the template's control characters shows them as
    // \xNN in the gcc format, where JSON holds them as they are.
    if (/[\x00-\x1f\x7f-\x9f]/.test(want.text ?? "")) {
      if (/[\x00-\x1f\x7f]/.test(got.text)) fail(`${line}\n  a control character shown raw`);
      delete want.text;
    }
    compare(line, got, want);
  });
  console.log(`${lines.length} lines matched${extra.length ? " with " + extra.join(" ") : ""}`);
}
process.exit(failures === 0 ? 0 : 1);
