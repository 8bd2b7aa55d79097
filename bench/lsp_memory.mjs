// The language server's memory with many open documents: opens COUNT
// templates of about 20 KB each and prints the server's resident set.
//   node lsp_memory.mjs SERVER [COUNT]
import { readFileSync } from "node:fs";
import { open, started, stopped } from "../tests/lsp/lsp_client.mjs";

const [server, count = "1000"] = process.argv.slice(2);

// A clean template of about 20 KB: an intensity attribute and 48 more, and
// parameters of ten stops each (displayer 30 stands for none, so it is
// passed over).
function template(n) {
  const lines = ["fixture", `name = "Lamp ${n % 1000}"`, 'manufacturer = "Acme"', "version = 1.0"];
  lines.push("attribute", '  name = "INTENSITY"', "  channel = 0");
  for (let channel = 1; channel <= 48; ++channel) {
    lines.push("attribute", `  name = "A${channel}"`, "  type = b", `  channel = ${channel}`, "  homeval = 128");
  }
  for (let p = 1; lines.join("\n").length < 20 * 1024; ++p) {
    lines.push("parameter", `  name = "P${p}"`, "  type = b", `  attriblist = ${((p - 1) % 48) + 1}`, `  displayernum = ${p < 30 ? p : p + 1}`);
    for (let stop = 0; stop < 10; ++stop) lines.push(`  stop = (${stop * 20}:${stop * 20 + 19}),n,"S${stop}"`);
  }
  lines.push("end", "");
  return lines.join("\n");
}

function residentKilobytes(pid) {
  const status = readFileSync(`/proc/${pid}/status`, "utf8");
  const field = (name) => Number(new RegExp(`${name}:\\s+(\\d+) kB`).exec(status)[1]);
  return { rss: field("VmRSS"), peak: field("VmHWM") };
}

const { client } = await started(server);
const before = residentKilobytes(client.process.pid);
let bytes = 0;
for (let i = 0; i < Number(count); ++i) {
  const text = template(i);
  bytes += text.length;
  await open(client, `file:///lamp-${i}.fxt`, text);
}
const after = residentKilobytes(client.process.pid);
console.log(`${count} documents, ${(bytes / 1024 / Number(count)).toFixed(1)} KB each, ` +
  `${(bytes / 1048576).toFixed(1)} MB of text`);
console.log(`resident: ${(before.rss / 1024).toFixed(1)} MB before, ${(after.rss / 1024).toFixed(1)} MB after ` +
  `(peak ${(after.peak / 1024).toFixed(1)} MB), ${((after.rss - before.rss) / Number(count)).toFixed(0)} KB a document`);
await stopped(client);
