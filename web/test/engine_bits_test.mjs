// The WebAssembly engine against tavimor-convert on random cases over every unit pair,
// formula, enhancement factor, natural-gas method, medium and pressure unit: the same bits of
// every held result (--raw), the same display texts, deltas and spreads, byte for byte; and
// on a table of uncertainties, the same intervals.
//
//   node engine_bits_test.mjs SITE_FOLDER TAVIMOR_CONVERT [GROUPS_PER_PAIR] [SEED]

import { spawnSync } from "node:child_process";
import { copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

const [site, command, groupsArg = "4", seedArg = "20"] = process.argv.slice(2);

// The site's modules, loaded as ES modules from a folder of their own.
const folder = mkdtempSync(join(tmpdir(), "tavimor-engine-"));
process.on("exit", () => rmSync(folder, { recursive: true, force: true }));
for (const name of readdirSync(site)) {
  if (name.endsWith(".js") || name.endsWith(".wasm")) copyFileSync(join(site, name), join(folder, name));
}
writeFileSync(join(folder, "package.json"), '{"type": "module"}');
const { load } = await import(join(folder, "tavimor.js"));
const tavimor = await load({ wasmBinary: readFileSync(join(folder, "tavimor-engine.wasm")) });

// A small generator of our own, so that a seed gives the same cases everywhere.
let state = BigInt(seedArg) * 0x9e3779b97f4a7c15n + 1n;
function random() {
  state = (state * 6364136223846793005n + 1442695040888963407n) & 0xffffffffffffffffn;
  return Number(state >> 11n) / 2 ** 53;
}
const pick = (list) => list[Math.floor(random() * list.length)];
const uniform = (lo, hi) => lo + (hi - lo) * random();
// A number as a person types it: at most 14 characters, as a field reads them.
const typed = (v) => {
  const digits = 1 + Math.floor(random() * 7);
  const text = random() < 0.15 ? v.toExponential(digits - 1) : String(Number(v.toPrecision(digits)));
  return text.length > 14 ? v.toFixed(2) : text;
};

// Each unit's typical From values; some cases fall outside the range on purpose.
const VALUE_RANGES = [[0, 130], [-150, 55], [-230, 130], [-150, 55], [-230, 130], [0, 140000],
  [0, 140000], [0, 6000], [0, 95], [0, 120], [0, 140000]];
// Pressures by unit: mbar, psia, psig, atm, kpa.
const PRESSURE_RANGES = [[50, 40000], [1, 600], [-10, 600], [0.05, 40], [5, 4000]];

let cases = 0;
let failures = 0;
function fail(message) {
  if (++failures <= 20) console.error(message);
}

function run(args, input) {
  const result = spawnSync(command, args, { input, encoding: "utf8", maxBuffer: 1 << 26 });
  if (result.error) throw result.error;
  return result.stdout.split("\n").slice(0, -1);
}

const groups = Number(groupsArg);
for (let from = 0; from < 11; ++from) {
  for (let to = 0; to < 11; ++to) {
    for (let g = 0; g < groups; ++g) {
      const args = ["--from", String(from), "--to", String(to)];
      const options = {};
      const measuredUnit = Math.floor(random() * 5);
      const measured = typed(uniform(...PRESSURE_RANGES[measuredUnit]));
      args.push("--measured", `${measured},${tavimor.PRESSURE_UNITS[measuredUnit]}`);
      Object.assign(options, { measured: Number(measured), measuredUnit: tavimor.PRESSURE_UNITS[measuredUnit] });
      if (random() < 0.5) {
        const unit = Math.floor(random() * 5);
        const at = typed(uniform(...PRESSURE_RANGES[unit]));
        args.push("--compute-at", `${at},${unit}`);
        Object.assign(options, { computeAt: Number(at), computeAtUnit: unit });
      }
      options.formula = pick(tavimor.FORMULAS);
      options.enhancement = pick(tavimor.ENHANCEMENTS);
      options.gasMethod = pick(tavimor.GAS_METHODS);
      args.push("--gas-method", options.gasMethod);
      const physics = ["--formula", options.formula, "--enhancement", options.enhancement];
      for (const side of ["from", "to"]) {
        const params = {};
        const medium = pick(tavimor.MEDIA);
        params.medium = medium;
        args.push(`--${side}-medium`, medium);
        const numbers = [["mw", "mw", 0, 120], ["k", "k", 0, 20], ["ambient", "ambient", -80, 200],
                         ["vaporTemp", "vapor-temp", -80, 200]];
        for (const [key, option, lo, hi] of numbers) {
          if (random() < 0.5) continue;
          let text;
          do text = typed(uniform(lo, hi)); while (!(Number(text) > lo && Number(text) < hi));
          params[key] = Number(text);
          args.push(`--${side}-${option}`, text);
        }
        options[`${side}Params`] = params;
      }
      if (random() < 0.5) {
        const increment = typed(uniform(-5, 5));
        options.increment = Number(increment);
        args.push("--increment", increment);
      }
      const values = [];
      for (let i = 0; i < 25; ++i) values.push(typed(uniform(...VALUE_RANGES[from])));
      const input = values.join("\n") + "\n";
      cases += values.length;
      const where = [...args, ...physics].join(" ");

      // Texts and held values, byte for byte.
      const shown = run([...args, ...physics], input);
      const raw = run([...args, ...physics, "--raw"], input);
      const moduleShown = tavimor.convertText(values, from, to, options);
      const moduleRaw = tavimor.convertText(values, from, to, { ...options, raw: true });
      for (let i = 0; i < values.length; ++i) {
        if (moduleShown[i] !== shown[i]) fail(`${where} ${values[i]}: "${moduleShown[i]}" != "${shown[i]}"`);
        if (moduleRaw[i] !== raw[i]) fail(`${where} --raw ${values[i]}: "${moduleRaw[i]}" != "${raw[i]}"`);
      }
      // The numbers of convert and increment are those the raw texts print.
      const { increment, ...plain } = options;
      const held = increment === undefined ? tavimor.convert(values, from, to, plain)
        : tavimor.increment(values, increment, from, to, plain).result;
      for (let i = 0; i < values.length; ++i) {
        const text = raw[i].split("\t")[0];
        const expected = text === "error" || text === "out of range" ? NaN : Number(text);
        if (!Object.is(held[i], expected)) fail(`${where} convert ${values[i]}: ${held[i]} != ${text}`);
      }
      // The spread's 12 results, as --spread --raw prints them.
      if (g === 0) {
        const lines = run([...args, "--spread", "--raw"], input);
        const { formula, enhancement, increment: _, ...spreadOptions } = options;
        const spread = tavimor.spread(values, from, to, spreadOptions);
        for (let i = 0; i < values.length; ++i) {
          const cells = lines[i].split("\t");
          if (cells[0] === "error") continue;
          const twelve = cells.slice(cells.length - 12).map((t) => (t === "out of range" ? NaN : Number(t)));
          for (let c = 0; c < 12; ++c) {
            if (!Object.is(spread.results[i * 12 + c], twelve[c])) {
              fail(`${args.join(" ")} --spread ${values[i]} [${c}]: ${spread.results[i * 12 + c]} != ${twelve[c]}`);
            }
          }
        }
      }
    }
  }
}
// Saved selections read from an INI text as the command's --ini reads them, junk included.
const iniFile = join(folder, "tavimor.ini");
for (let k = 0; k < 60; ++k) {
  const p = () => Math.floor(random() * 5);
  const keys = [
    `FromDew=0,${Math.floor(random() * 11)}`, `ToDew=0,${Math.floor(random() * 11)}`,
    `FromPrs=${typed(uniform(1, 500))},${p()}`, `ToPrs=${typed(uniform(1, 500))},${p()}`,
    `IsoAndPrsr=1014,${pick([1016, 1017])}`, `EquSWVP=${pick([1020, 1021, 1022, 1023])},${pick([1024, 1025, 1026])}`,
    `EquDensity=${pick([1025, 1026])}`, `MediumDensity=${pick([1036, 1037, 1038])},${pick([1036, 1037, 1038, 7])}`,
    `MW=15,${typed(uniform(1, 90))},${pick(["1,29", "abc", "3"])}`, `TAmbient=1034,${typed(uniform(-50, 90))},1033,25`,
    `Henry=1019,${typed(uniform(0.5, 9))},1030,15.5`, `TDensity=1039,${typed(uniform(-50, 90))},1040,30`,
    "junk without an equals sign",
  ].filter(() => random() < 0.85);
  writeFileSync(iniFile, "[Other]\nFromDew=5,5\n[Tavimor]\n" + keys.join("\n") + "\n");
  const s = tavimor.settingsFromIni(readFileSync(iniFile, "utf8"));
  const values = Array.from({ length: 10 }, () => typed(uniform(...VALUE_RANGES[tavimor.UNITS.indexOf(s.fromUnit)])));
  const input = values.join("\n") + "\n";
  cases += values.length;
  const expected = run(["--ini", iniFile, "--raw"], input);
  const got = tavimor.convertText(values, s.fromUnit, s.toUnit, { ...s, raw: true });
  for (let i = 0; i < values.length; ++i) {
    if (got[i] !== expected[i]) fail(`--ini ${keys.join(" ")} ${values[i]}: "${got[i]}" != "${expected[i]}"`);
  }
}

// Uncertainties: the interval's ends and the standard uncertainty of uncertainty() are the
// bits --uncertainty --raw prints, convertText's lines its lines, over the exact image, Monte
// Carlo with the pressures, percentages, a pressure's own unit, the formulas' share, another
// coverage factor, a slow search at a new pressure each draw, and intervals out of range.
const UNCERTAINTY_CASES = [
  ["frost point ± 2 °C (exact image)", "dfp-c", "ppmv", [-60, -20, 10], { u: 2 }],
  ["the tariff example", "dp-c", "lb-mmscf", [-2, -3.8],
   { measured: 800, measuredUnit: "psig", u: 2, measuredU: "1%" }],
  ["percentages and a pressure's own unit", "ppmv", "dfp-c", [1000, 50],
   { measured: 2000, u: "5%", measuredU: "0.5,psia", computeAt: 5, computeAtUnit: "atm",
     computeAtU: "2%" }],
  ["the formulas' share, k = 1.5", "dfp-c", "ppmv", [-60, 0], { u: 2, includeFormula: true,
     coverageFactor: 1.5 }],
  ["%RH in a gas at its ambient temperature", "rh", "ppmw", [40],
   { u: 3, fromParams: { ambient: 30 }, toParams: { mw: 16 }, measuredU: 5 }],
  ["vapour density in air to °F", "g-m3", "dp-f", [5], { u: 0.1, fromParams: { medium: "air" } }],
  ["lb/MMSCF under ASTM at a new pressure each draw", "lb-mmscf", "dp-c", [7],
   { gasMethod: "astm", measured: 800, measuredUnit: "psig", measuredU: "1%", u: 0.2 }],
  ["out of range at the From unit's lower end", "dfp-c", "ppmv", [-139, -60], { u: 2 }],
  ["out of range above the measured pressure", "dp-c", "ppmv", [20], { u: 4, measured: 25 }],
];
// The command's options of the API's.
function commandOptions(options) {
  const args = [];
  const names = { measured: "--measured", computeAt: "--compute-at", gasMethod: "--gas-method",
    u: "--uncertainty", measuredU: "--measured-uncertainty",
    computeAtU: "--compute-at-uncertainty", coverageFactor: "--coverage-factor" };
  for (const [key, value] of Object.entries(options)) {
    if (key === "measuredUnit" || key === "computeAtUnit") continue;
    if (key === "includeFormula") {
      args.push("--include-formula");
    } else if (key === "fromParams" || key === "toParams") {
      const side = key.slice(0, -6);
      for (const [param, v] of Object.entries(value)) args.push(`--${side}-${param}`, String(v));
    } else {
      const unit = options[`${key}Unit`];
      args.push(names[key], unit === undefined ? String(value) : `${value},${unit}`);
    }
  }
  return args;
}
let intervals = 0;
for (const [name, from, to, values, options] of UNCERTAINTY_CASES) {
  const args = ["--from", from, "--to", to, ...commandOptions(options), "--raw", "--"];
  const lines = run([...args, ...values.map(String)], "");
  const texts = tavimor.convertText(values, from, to, { ...options, raw: true });
  const r = tavimor.uncertainty(values, from, to, options);
  for (let i = 0; i < values.length; ++i) {
    ++intervals;
    const where = `${name}: ${values[i]}`;
    if (texts[i] !== lines[i]) fail(`${where}: convertText "${texts[i]}" != "${lines[i]}"`);
    const cells = lines[i].split("\t");
    const outside = cells[1] === "interval reaches out of range";
    if (Boolean(r.reachesOutOfRange[i]) !== outside) fail(`${where}: reaches out of range ${r.reachesOutOfRange[i]}`);
    if (outside) continue;
    const got = [r.low[i], r.high[i], r.standardUncertainty[i]];
    cells.slice(1).forEach((cell, c) => {
      if (!Object.is(got[c], Number(cell))) fail(`${where}: [${c}] ${got[c]} != ${cell}`);
    });
    if (!options.includeFormula && !Object.is(r.estimate[i], Number(cells[0]))) {
      fail(`${where}: estimate ${r.estimate[i]} != ${cells[0]}`);
    }
  }
}
// One uncertainty per value, as one --uncertainty per line.
{
  const values = [-60, -40, -20];
  const each = new Float64Array([1, 2.5, 0]);
  const r = tavimor.uncertainty(values, "dfp-c", "ppmv", { u: each });
  values.forEach((v, i) => {
    ++intervals;
    const cells = run(["--from", "dfp-c", "--to", "ppmv", "--uncertainty", String(each[i]), "--raw",
                       "--", String(v)], "")[0].split("\t");
    const got = [r.estimate[i], r.low[i], r.high[i], r.standardUncertainty[i]];
    cells.forEach((cell, c) => {
      if (!Object.is(got[c], Number(cell))) fail(`u per value ${v} ± ${each[i]}: [${c}] ${got[c]} != ${cell}`);
    });
  });
}
console.log(`${intervals} intervals`);
const allIntervals = intervals === UNCERTAINTY_CASES.reduce((n, c) => n + c[3].length, 3);

console.log(`${cases} cases, ${failures} differences`);
process.exit(failures === 0 && cases >= 10000 && allIntervals ? 0 : 1);
