// Holds fixture files to the open fixture library's own JSON schemas, so
// that the test fixtures that fxtimport is tried on follow the format.
//   node validate.mjs SCHEMAS_DIR FIXTURES_DIR
import { readdirSync, readFileSync } from "node:fs";
import { join } from "node:path";
import Ajv2020 from "ajv/dist/2020.js";
import addFormats from "ajv-formats";

const [schemas, fixtures] = process.argv.slice(2);
const ajv = new Ajv2020({ allErrors: true, strict: false });
addFormats(ajv);
// A format of the library's own; its pattern says the same.
ajv.addFormat("color-hex", /^#[0-9a-f]{6}$/);
for (const file of readdirSync(schemas).filter((name) => name.endsWith(".json"))) {
  ajv.addSchema(JSON.parse(readFileSync(join(schemas, file), "utf8")));
}
const base = "https://raw.githubusercontent.com/OpenLightingProject/open-fixture-library/master/schemas/";
const fixtureSchema = ajv.getSchema(`${base}fixture.json`);
const manufacturersSchema = ajv.getSchema(`${base}manufacturers.json`);

function* jsonFiles(folder) {
  for (const entry of readdirSync(folder, { withFileTypes: true })) {
    const path = join(folder, entry.name);
    if (entry.isDirectory()) yield* jsonFiles(path);
    else if (entry.name.endsWith(".json")) yield path;
  }
}

let failed = false;
let count = 0;
for (const file of jsonFiles(fixtures)) {
  const validate = file.endsWith("manufacturers.json") ? manufacturersSchema : fixtureSchema;
  count++;
  if (validate(JSON.parse(readFileSync(file, "utf8")))) continue;
  failed = true;
  for (const error of validate.errors) console.log(`${file}: ${error.instancePath} ${error.message}`);
}
console.log(`${count} files checked against the schema`);
process.exit(failed || count === 0 ? 1 : 0);
