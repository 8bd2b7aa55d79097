// Writes a library of generated fixture files in the open fixture library's
// format, for timing fxtimport: FIXTURES moving heads of MODES modes each,
// with 16-bit pan, tilt and dimmer, a shutter, colour and gobo wheels, CMY,
// maintenance functions and a ring of 16 RGB pixels.
//   node fixture_library.mjs FOLDER FIXTURES MODES
import { mkdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";

const [folder, fixtureCount, modeCount] = process.argv.slice(2);
const steps = (count, width, make) =>
  Array.from({ length: count }, (_, i) => ({ dmxRange: [i * width, i * width + width - 1], ...make(i) }));

function fixture(n) {
  const wheel = (slots) => ({ slots });
  const availableChannels = {
    Pan: { fineChannelAliases: ["Pan fine"], defaultValue: 32768, capability: { type: "Pan", angleStart: "0deg", angleEnd: "540deg" } },
    Tilt: { fineChannelAliases: ["Tilt fine"], defaultValue: 32768, capability: { type: "Tilt", angleStart: "0deg", angleEnd: "270deg" } },
    Dimmer: { fineChannelAliases: ["Dimmer fine"], capability: { type: "Intensity" } },
    Shutter: {
      capabilities: [
        ...steps(4, 8, (i) => ({ type: "ShutterStrobe", shutterEffect: i % 2 ? "Open" : "Closed" })),
        { dmxRange: [32, 127], type: "ShutterStrobe", shutterEffect: "Strobe", speedStart: "1Hz", speedEnd: "20Hz" },
        { dmxRange: [128, 191], type: "ShutterStrobe", shutterEffect: "Pulse", speedStart: "slow", speedEnd: "fast" },
        { dmxRange: [192, 255], type: "ShutterStrobe", shutterEffect: "Strobe", randomTiming: true, speedStart: "slow", speedEnd: "fast" },
      ],
    },
    "Color Wheel": {
      capabilities: [
        ...steps(12, 10, (i) => ({ type: "WheelSlot", slotNumber: i + 1 })),
        { dmxRange: [120, 187], type: "WheelRotation", speedStart: "fast CW", speedEnd: "slow CW" },
        { dmxRange: [188, 255], type: "WheelRotation", speedStart: "slow CCW", speedEnd: "fast CCW" },
      ],
    },
    "Gobo Wheel": {
      capabilities: [
        ...steps(8, 8, (i) => ({ type: "WheelSlot", slotNumber: i + 1 })),
        ...steps(7, 8, (i) => ({ type: "WheelShake", slotNumber: i + 2, shakeSpeedStart: "slow", shakeSpeedEnd: "fast" })).map((c) => ({ ...c, dmxRange: [c.dmxRange[0] + 64, c.dmxRange[1] + 64] })),
        { dmxRange: [120, 255], type: "WheelRotation", speedStart: "slow CW", speedEnd: "fast CW" },
      ],
    },
    "Gobo Rotation": { capability: { type: "WheelSlotRotation", wheel: "Gobo Wheel", speedStart: "fast CW", speedEnd: "fast CCW" } },
    Cyan: { capability: { type: "ColorIntensity", color: "Cyan" } },
    Magenta: { capability: { type: "ColorIntensity", color: "Magenta" } },
    Yellow: { capability: { type: "ColorIntensity", color: "Yellow" } },
    Focus: { defaultValue: 128, capability: { type: "Focus", distanceStart: "near", distanceEnd: "far" } },
    Zoom: { capability: { type: "Zoom", angleStart: "8deg", angleEnd: "40deg" } },
    Control: { capabilities: steps(8, 32, (i) => ({ type: "Maintenance", comment: ["Reset", "Lamp on", "Lamp off", "Fans quiet"][i % 4] })) },
  };
  const colours = ["Red", "Blue", "Green", "Yellow", "Magenta", "Cyan", "Amber", "UV", "Pink", "Lavender", "Orange", "Congo"];
  const modes = [
    { name: "Basic", shortName: "14ch", channels: ["Pan", "Tilt", "Dimmer", "Shutter", "Color Wheel", "Gobo Wheel", "Gobo Rotation", "Cyan", "Magenta", "Yellow", "Focus", "Zoom", "Control", null] },
    { name: "Extended", shortName: "17ch", channels: ["Pan", "Pan fine", "Tilt", "Tilt fine", "Dimmer", "Dimmer fine", "Shutter", "Color Wheel", "Gobo Wheel", "Gobo Rotation", "Cyan", "Magenta", "Yellow", "Focus", "Zoom", "Control", null] },
    { name: "Pixels", shortName: "58ch", channels: ["Pan", "Tilt", "Dimmer", "Shutter", "Color Wheel", "Gobo Wheel", "Focus", "Zoom", "Control", null,
      { insert: "matrixChannels", repeatFor: "eachPixelXYZ", channelOrder: "perPixel", templateChannels: ["Red $pixelKey", "Green $pixelKey", "Blue $pixelKey"] }] },
  ];
  for (let m = modes.length; m < modeCount; m++) {
    modes.push({ name: `Variant ${m}`, shortName: `v${m}`, channels: ["Dimmer", "Dimmer fine", "Pan", "Tilt", "Shutter", "Color Wheel"] });
  }
  return {
    $schema: "https://raw.githubusercontent.com/OpenLightingProject/open-fixture-library/master/schemas/fixture.json",
    name: `Generated Spot ${n}`,
    categories: ["Moving Head"],
    meta: { authors: ["fxtimport benchmark"], createDate: "2024-01-01", lastModifyDate: "2024-01-01" },
    matrix: { pixelCount: [16, 1, 1] },
    wheels: {
      "Color Wheel": wheel([{ type: "Open" }, ...colours.slice(0, 11).map((name) => ({ type: "Color", name }))]),
      "Gobo Wheel": wheel([{ type: "Open" }, ...Array.from({ length: 7 }, (_, i) => ({ type: "Gobo", name: `Gobo pattern ${i + 1}` }))]),
    },
    availableChannels,
    templateChannels: Object.fromEntries(["Red", "Green", "Blue"].map((color) => [`${color} $pixelKey`, { capability: { type: "ColorIntensity", color } }])),
    modes: modes.slice(0, modeCount),
  };
}

const makers = ["generic", "high-end", "bench-maker"];
mkdirSync(folder, { recursive: true });
writeFileSync(join(folder, "manufacturers.json"), JSON.stringify({
  $schema: "https://raw.githubusercontent.com/OpenLightingProject/open-fixture-library/master/schemas/manufacturers.json",
  generic: { name: "Generic" }, "high-end": { name: "High End" }, "bench-maker": { name: "Bench Maker" },
}, null, 2));
for (const maker of makers) mkdirSync(join(folder, maker), { recursive: true });
for (let n = 1; n <= Number(fixtureCount); n++) {
  writeFileSync(join(folder, makers[n % makers.length], `spot-${n}.json`), JSON.stringify(fixture(n), null, 2));
}
