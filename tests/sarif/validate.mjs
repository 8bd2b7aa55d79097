// Validates SARIF logs against the published SARIF 2.1.0 JSON schema, the
// one that ships with the SARIF multitool, strictly.
//   node validate.mjs SCHEMA FILE...
import { readFileSync } from "node:fs";
import Ajv2020 from "ajv/dist/2020.js";
import addFormats from "ajv-formats";

const [schemaPath, ...files] = process.argv.slice(2);
const ajv = new Ajv2020({ allErrors: true, strict: false });
addFormats(ajv);
const validate = ajv.compile(JSON.parse(readFileSync(schemaPath, "utf8")));
let failed = false;
for (const file of files) {
  if (!validate(JSON.parse(readFileSync(file, "utf8")))) {
    failed = true;
    for (const error of validate.errors) {
      console.log(`${file}: ${error.instancePath} ${error.message}`);
    }
  }
}
process.exit(failed ? 1 : 0);
