// The model that a chart page's text tables show, read back into fxtdump's
// form, and fxtdump's model as a page can show it.

// A template's bytes as the page shows them: a control character as \xNN.
function shown(text) {
  return text === null ? null : text.replace(/[\u0000-\u001f\u007f-\u009f]/g,
    (c) => `\\x${c.charCodeAt(0).toString(16).toUpperCase().padStart(2, "0")}`);
}

// The attributes a parameter's stops are drawn on, in the page's order: its
// attribute list, then any attribute that only its stops name.
function laneOrder(parameter) {
  const order = [];
  for (const number of parameter.attribList) if (!order.includes(number)) order.push(number);
  for (const stop of parameter.stops) {
    for (const entry of stop.entries) if (!order.includes(entry.attribute)) order.push(entry.attribute);
  }
  return order;
}

// fxtdump's model with its strings as the page shows them and each stop's
// entries in the order of the page's columns.
export function shownText(model) {
  if (model.template === null) return model;
  const t = model.template;
  return { ...model, template: { ...t, modelName: shown(t.modelName), manufacturer: shown(t.manufacturer),
    attributes: t.attributes.map((a) => ({ ...a, typeName: shown(a.typeName) })),
    parameters: t.parameters.map((p) => {
      const lane = new Map(laneOrder(p).map((attribute, index) => [attribute, index]));
      const inOrder = (entries) => entries.every((e, i) => i === 0 || lane.get(entries[i - 1].attribute) <= lane.get(e.attribute));
      return { ...p, typeName: shown(p.typeName), stops: p.stops.map((s) => {
        const stop = { ...s, label: shown(s.label), entries: inOrder(s.entries) ? s.entries
          : s.entries.map((e, i) => ({ ...e, i })).sort((a, b) =>
            lane.get(a.attribute) - lane.get(b.attribute) || a.i - b.i).map(({ i, ...e }) => e) };
        if (s.selectedEntry < s.entries.length) stop.markedEntry = s.entries[s.selectedEntry];
        return stop;
      }) };
    }) } };
}

const number = (text) => {
  const value = Number.parseInt(text, 10);
  if (Number.isNaN(value)) throw new Error(`no number in "${text}"`);
  return value;
};
const named = (cell) => (cell.absent ? null : cell.text);

// A value as a lane shows it: a DMX value for an 8-bit attribute, with any
// rest as +N/256, the stored value for a 16-bit one.
function stored(text, sixteenBit) {
  const [, value, rest] = /^(\d+)(?:\+(\d+)\/256)?$/.exec(text) ?? [];
  if (value === undefined) throw new Error(`no value in "${text}"`);
  return sixteenBit ? Number(value) : Number(value) * 256 + Number(rest ?? 0);
}

function attributeOf(row) {
  const [, name, channel, fine, , , home, min, max, kind] = row.cells;
  return { typeName: named(name), channel: number(channel.text) - 1,
    fineChannel: fine.text === "none" ? 255 : number(fine.text) - 1, homeValue: number(home.text),
    minValue: number(min.text), maxValue: number(max.text), kind: number(kind.text) };
}

function parameterOf(row, stopTable, sixteenBit) {
  const [, name, kind, displayer, attributes, stops] = row.cells;
  const parameter = { typeName: named(name), kind: number(kind.text),
    displayer: displayer.text === "none (30)" ? 30 : number(displayer.text),
    attribList: attributes.spans.map((span) => number(span.slice(1))), stops: stopsOf(stopTable, sixteenBit) };
  if (parameter.stops.length !== number(stops.text)) throw new Error(`${parameter.typeName}: stop count`);
  return parameter;
}

function stopsOf(table, sixteenBit) {
  if (!table) return [];
  const column = (title) => table.head.indexOf(title);
  const lanes = table.head.map((title) => /^#(\d+) /.exec(title)).map((match) => match && Number(match[1]));
  const stops = [];
  for (const { repeat, cells } of table.rows) {
    if (repeat) {
      const [first, last] = cells[0].text.split("\u2013").map(Number);
      for (let n = first; n <= last; ++n) stops.push(stops.at(-1));
      continue;
    }
    const display = column("Display values") < 0 ? "none" : cells[column("Display values")].text;
    const [, from, to] = /^(-?\d+) to (-?\d+)$/.exec(display) ?? [null, 0, 360];
    const mouse = cells[column("Mouse entry")].text;
    const [, selected, middle] = /^(\d+), middle (\d+)$/.exec(mouse) ?? [null, 255, 0];
    if (mouse !== "none" && selected === 255) throw new Error(`mouse entry "${mouse}"`);
    const stop = { label: named(cells[1]), mode: number(cells[2].text), displayFrom: Number(from),
      displayTo: Number(to), midValue: Number(middle), selectedEntry: Number(selected), entries: [] };
    let marked = null;
    lanes.forEach((attribute, index) => {
      if (attribute === null || cells[index].text === "") return;
      for (const text of cells[index].text.split("; ")) {
        const [, low, high, r, m] = /^([^\u2013 ]+)(?:\u2013([^ ]+))?( r)?( m)?$/.exec(text);
        if (m) marked = stop.entries.length;
        const bits16 = sixteenBit(attribute);
        stop.entries.push({ low: stored(low, bits16), high: stored(high ?? low, bits16), attribute, flagR: r ? 1 : 0 });
      }
    });
    if (marked !== null) stop.markedEntry = stop.entries[marked];
    stops.push(stop);
  }
  return stops;
}

// The page's tables as fxtdump's model. The entry a page marks m must be
// the one that selectedEntry names; fxtdump's order of a stop's entries
// stands in the model beside it.
export function modelOfPage(page) {
  const result = /result (-?\d+), errorCount (\d+), warningFlag (\d+)/.exec(page.facts["Load result"].text);
  const model = { result: Number(result[1]), errorCount: Number(result[2]), warningFlag: Number(result[3]), template: null };
  if (!page.facts["Model name"]) return model;
  const attributes = page.attributes ? page.attributes.rows.map(attributeOf) : [];
  const sixteenBit = (n) => n >= 1 && n <= attributes.length && attributes[n - 1].fineChannel !== 255;
  const parameters = page.parameters ? page.parameters.rows.map((row, i) => parameterOf(row, page.stops[i], sixteenBit)) : [];
  model.template = { modelName: named(page.facts["Model name"]) ?? "",
    manufacturer: named(page.facts.Manufacturer), version: number(/stored as (\d+)/.exec(page.facts.Version.text)[1]),
    attributes, parameters };
  return model;
}
