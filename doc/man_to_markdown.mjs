// Writes the template language's man page as Markdown, for reading in the
// repository: doc/template-language.md is this script's output for
// man/fxt.5, and a test holds the two to each other.
//   node doc/man_to_markdown.mjs man/fxt.5 > doc/template-language.md
import { readFileSync } from "node:fs";

const page = readFileSync(process.argv[2], "utf8").split("\n");

function text(roff) {
  return roff
    .replace(/\\\(dq/g, '"').replace(/\\\(aq/g, "'").replace(/\\\(mu/g, "×")
    .replace(/\\\(en/g, "–").replace(/\\\(bu/g, "•").replace(/\\-/g, "-")
    .replace(/\\&/g, "").replace(/\\c$/, "").replace(/\\e/g, "\\")
    .replace(/\\fB(.*?)\\fP/g, "**$1**").replace(/\\fI(.*?)\\fP/g, "*$1*");
}

// The words of a font macro's line, quotes grouping words with blanks.
function words(rest) {
  const found = [];
  const pattern = /"([^"]*)"|(\S+)/g;
  for (let match; (match = pattern.exec(rest)) !== null;) found.push(match[1] ?? match[2]);
  return found;
}

const markdownSpecial = (w) => w.replace(/([*_`])/g, "\\$1");
const fonts = {
  B: (w) => `**${markdownSpecial(w)}**`,
  I: (w) => `*${markdownSpecial(w)}*`,
  R: (w) => w,
};

// One font puts its words together, blanks between; two alternate, with
// none between.
function fontLine(macro, rest) {
  const styles = macro.split("").map((letter) => fonts[letter]);
  const parts = words(rest).map(text);
  if (styles.length === 1) return styles[0](parts.join(" "));
  return parts.map((word, i) => styles[i % 2](word)).join("");
}

const out = [];
let paragraph = [];
let joinNext = false;  // the line before ended with "\\c"
let inExample = false;
let afterTerm = false;
const add = (words) => {
  if (joinNext && paragraph.length > 0) {
    paragraph[paragraph.length - 1] += words;
  } else {
    paragraph.push(words);
  }
};
const flush = () => {
  if (paragraph.length > 0) out.push(paragraph.join(" ").replace(/ +([,.;:)])/g, "$1"), "");
  paragraph = [];
};

for (const line of page) {
  if (inExample) {
    if (line === ".EE") {
      out.push("```", "");
      inExample = false;
    } else {
      out.push(text(line.replace(/\\f[BIP]/g, "")));
    }
    continue;
  }
  const [, macro, rest = ""] = /^\.(\S+)\s*(.*)$/.exec(line) ?? [null, null, line];
  const joins = /\\c$/.test(rest);
  if (macro === null) {
    add(text(line));
  } else if (macro === "TH") {
    out.push("# fxt(5): fixture template files", "");
  } else if (macro === "SH") {
    flush();
    out.push(`## ${text(rest.replace(/^"|"$/g, ""))}`, "");
  } else if (macro === "SS") {
    flush();
    out.push(`### ${text(rest)}`, "");
  } else if (macro === "PP" || macro === "RS" || macro === "RE" || macro === "br") {
    flush();
  } else if (macro === "TP" || macro === "TQ") {
    flush();
    afterTerm = true;
    continue;
  } else if (macro === "IP") {
    flush();
    add("-");
  } else if (macro === "EX") {
    flush();
    out.push("```");
    inExample = true;
  } else if (macro === '\\"') {
    continue;
  } else if (/^[BIR]+$/.test(macro)) {
    const styled = fontLine(macro, rest);
    if (afterTerm) {
      flush();
      out.push(`**${styled.replace(/\*\*/g, "")}**`, "");
    } else {
      add(styled);
    }
  }
  joinNext = joins;
  afterTerm = false;
}
flush();
process.stdout.write(out.join("\n").replace(/\n{3,}/g, "\n\n").trimEnd() + "\n");
