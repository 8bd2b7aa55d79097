// Round trip: every mode of every fixture file below FIXTURES is imported,
// and fxtdump's model of each template is held, field by field, to the mode
// as this script reads it from the fixture file on its own: the same DMX
// channels and fine channels, the same home values, one stop per capability
// with the same DMX range, and the intensity attribute on the first dimmer.
//   node round_trip_test.mjs FXTIMPORT FXTDUMP FIXTURES
import { execFileSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

const [fxtimport, fxtdump, fixtures] = process.argv.slice(2);
const TEMPLATE_CHANNELS = 64;
const MOST_STOPS = 255;
const NO_FINE_CHANNEL = 255;

function fixtureFiles(folder) {
  return readdirSync(folder, { withFileTypes: true }).flatMap((entry) => {
    const path = join(folder, entry.name);
    if (entry.isDirectory()) return fixtureFiles(path);
    return entry.name.endsWith(".json") && entry.name !== "manufacturers.json" ? [path] : [];
  });
}

// ---- The mode, read from the fixture file ----

function resolutionOf(channel) {
  const fine = (channel.fineChannelAliases ?? []).length;
  return channel.dmxValueResolution ? Number.parseInt(channel.dmxValueResolution) / 8 : fine + 1;
}

function capabilitiesOf(channel) {
  if (channel.capabilities) return channel.capabilities;
  const highest = 2 ** (8 * resolutionOf(channel)) - 1;
  return [{ ...channel.capability, dmxRange: [0, highest] }];
}

function defaultOf(channel) {
  const value = channel.defaultValue ?? 0;
  if (typeof value === "number") return value;
  return Math.round((Number.parseFloat(value) / 100) * (2 ** (8 * resolutionOf(channel)) - 1));
}

function pixelKeysOf(matrix) {
  if (matrix.pixelKeys) {
    const pixels = [];
    matrix.pixelKeys.forEach((plane, z) =>
      plane.forEach((row, y) =>
        row.forEach((key, x) => key !== null && pixels.push({ key, x: x + 1, y: y + 1, z: z + 1 })),
      ),
    );
    return pixels;
  }
  const [xs, ys, zs] = matrix.pixelCount;
  const pixels = [];
  for (let z = 1; z <= zs; z++) {
    for (let y = 1; y <= ys; y++) {
      for (let x = 1; x <= xs; x++) {
        const key = ys === 1 && zs === 1 ? `${x}` : zs === 1 ? `(${x}, ${y})` : `(${x}, ${y}, ${z})`;
        pixels.push({ key, x, y, z });
      }
    }
  }
  return pixels;
}

function repeatedFor(fixture, repeatFor) {
  const groups = Object.keys(fixture.matrix.pixelGroups ?? {});
  if (Array.isArray(repeatFor)) return repeatFor;
  if (repeatFor === "eachPixelGroup") return groups;
  const pixels = pixelKeysOf(fixture.matrix);
  if (repeatFor === "eachPixelABC") {
    return pixels.map((p) => p.key).sort((a, b) => a.localeCompare(b, "en", { numeric: true }));
  }
  const axes = repeatFor.slice(-3).toLowerCase();
  const order = (p) => [p[axes[2]], p[axes[1]], p[axes[0]]];
  return pixels
    .sort((a, b) => {
      const [oa, ob] = [order(a), order(b)];
      return oa[0] - ob[0] || oa[1] - ob[1] || oa[2] - ob[2];
    })
    .map((p) => p.key);
}

// Every key a mode may name, with what it stands for.
function keyTable(fixture) {
  const table = new Map();
  const pixels = fixture.matrix
    ? [...pixelKeysOf(fixture.matrix).map((p) => p.key), ...Object.keys(fixture.matrix.pixelGroups ?? {})]
    : [];
  const addChannel = (key, written, forPixel) => {
    const channel = forPixel(written);
    table.set(forPixel(key), { channel, fineIndex: 0 });
    (channel.fineChannelAliases ?? []).forEach((alias, i) => table.set(alias, { channel, fineIndex: i + 1 }));
  };
  for (const [key, channel] of Object.entries(fixture.templateChannels ?? {})) {
    for (const pixel of pixels) {
      const forPixel = (value) => JSON.parse(JSON.stringify(value).replaceAll("$pixelKey", pixel));
      addChannel(key, channel, forPixel);
    }
  }
  for (const [key, channel] of Object.entries(fixture.availableChannels ?? {})) {
    addChannel(key, channel, (value) => value);
  }
  return table;
}

// A switching alias stands for the channel that its switching channel's
// default value selects.
function switched(table, key) {
  for (const { channel } of table.values()) {
    const value = defaultOf(channel);
    for (const capability of channel.capabilities ?? []) {
      const target = capability.switchChannels?.[key];
      if (target && value >= capability.dmxRange[0] && value <= capability.dmxRange[1]) {
        return table.get(target);
      }
    }
  }
  throw new Error(`no channel stands for ${key}`);
}

function modeChannels(fixture, mode) {
  const table = keyTable(fixture);
  const resolve = (key) => (key === null ? null : table.get(key) ?? switched(table, key));
  return mode.channels.flatMap((entry) => {
    if (entry === null || typeof entry === "string") return [resolve(entry)];
    const pixels = repeatedFor(fixture, entry.repeatFor);
    const keys = entry.channelOrder === "perPixel"
      ? pixels.flatMap((p) => entry.templateChannels.map((t) => t?.replaceAll("$pixelKey", p) ?? null))
      : entry.templateChannels.flatMap((t) => pixels.map((p) => t?.replaceAll("$pixelKey", p) ?? null));
    return keys.map(resolve);
  });
}

// A value of `from` bytes on the model's 16-bit scale for an attribute of
// `to` bytes: an 8-bit value is kept shifted left by 8.
function onModelScale(value, from, to, rangeEnd) {
  let scaled = value;
  if (from > to) scaled = Math.floor(value / 2 ** (8 * (from - to)));
  if (from < to) scaled = value * 2 ** (8 * (to - from)) + (rangeEnd ? 2 ** (8 * (to - from)) - 1 : 0);
  return to === 1 ? scaled * 256 : scaled;
}

function isDimmer(channel) {
  const first = capabilitiesOf(channel).find((c) => c.type !== "NoFunction");
  return first?.type === "Intensity";
}

function expectedTemplate(fixture, mode) {
  const channels = modeChannels(fixture, mode);
  const position = new Map();  // channel -> fine index -> DMX channel
  channels.forEach((use, i) => {
    if (!use) return;
    if (!position.has(use.channel)) position.set(use.channel, new Map());
    position.get(use.channel).set(use.fineIndex, i + 1);
  });
  const attributes = [];
  channels.slice(0, TEMPLATE_CHANNELS).forEach((use, i) => {
    if (!use || use.fineIndex !== 0) return;
    const finePosition = position.get(use.channel).get(1);
    const bytes = finePosition && finePosition <= TEMPLATE_CHANNELS ? 2 : 1;
    const resolution = resolutionOf(use.channel);
    attributes.push({
      channel: i,
      fineChannel: bytes === 2 ? finePosition - 1 : NO_FINE_CHANNEL,
      homeValue: onModelScale(defaultOf(use.channel), resolution, bytes, false),
      ranges: capabilitiesOf(use.channel)
        .filter((c) => c.type !== "NoFunction")
        .slice(0, MOST_STOPS)
        .map((c) => [onModelScale(c.dmxRange[0], resolution, bytes, false), onModelScale(c.dmxRange[1], resolution, bytes, true)]),
      dimmer: isDimmer(use.channel),
    });
  });
  const intensity = attributes.find((a) => a.dimmer)?.channel ?? -1;
  return { attributes, intensity };
}

// ---- The template, as fxtdump reads it ----

function comparedWith(expected, model, where) {
  const problems = [];
  const differ = (what, want, got) => {
    if (JSON.stringify(want) !== JSON.stringify(got)) problems.push(`${where}: ${what}: expected ${JSON.stringify(want)}, got ${JSON.stringify(got)}`);
  };
  if (model.result !== 0) problems.push(`${where}: the load reports ${model.result}`);
  const attributes = model.template.attributes;
  const intensity = attributes.filter((a) => a.kind === 2 || a.kind === 8);
  differ("intensity attribute's channel", [expected.intensity], intensity.map((a) => a.channel));
  const real = attributes.filter((a) => a.channel !== -1);
  differ("channels", expected.attributes.map((a) => a.channel), real.map((a) => a.channel));
  for (const want of expected.attributes) {
    const number = attributes.findIndex((a) => a.channel === want.channel) + 1;
    const got = attributes[number - 1];
    if (!got) continue;
    const at = `channel ${want.channel + 1}`;
    differ(`${at} fine channel`, want.fineChannel, got.fineChannel);
    differ(`${at} home value`, want.homeValue, got.homeValue);
    const parameter = model.template.parameters.find((p) => p.attribList[0] === number);
    const ranges = parameter ? parameter.stops.map((s) => s.entries.map((e) => [e.low, e.high])[0]) : [];
    differ(`${at} stop ranges`, want.ranges, ranges);
  }
  return problems;
}

const work = mkdtempSync(join(tmpdir(), "round-trip-"));
const problems = [];
let modes = 0;
try {
  for (const file of fixtureFiles(fixtures)) {
    const fixture = JSON.parse(readFileSync(file, "utf8"));
    const written = execFileSync(fxtimport, ["--all", "-o", work, file], { encoding: "utf8", stdio: ["ignore", "pipe", "ignore"] })
      .trim()
      .split("\n");
    fixture.modes.forEach((mode, i) => {
      const model = JSON.parse(execFileSync(fxtdump, [written[i]], { encoding: "latin1" }));
      problems.push(...comparedWith(expectedTemplate(fixture, mode), model, `${file}, mode "${mode.name}"`));
      modes++;
    });
  }
} finally {
  rmSync(work, { recursive: true, force: true });
}
for (const problem of problems) console.log(problem);
console.log(`${modes} modes compared, ${problems.length} differences`);
process.exit(problems.length === 0 && modes > 0 ? 0 : 1);
