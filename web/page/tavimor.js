// Tavimor's moisture engine for JavaScript: the same conversions as the Tavimor program,
// tavimor-convert and the Python package, bit for bit, compiled to WebAssembly.
//
//   import { load } from "./tavimor.js";
//   const tavimor = await load();
//   tavimor.convert(20, "dp-c", "ppmv");                  // 23596.998046875
//   tavimor.format(tavimor.convert([20, -40], "dp-c", "ppmv"), "ppmv");  // ["23597.0", "186.5"]
//
// The names are the Python package's, in JavaScript's spelling: convert, increment, spread,
// format, convertText, settingsFromIni, convertTable; the keywords likewise (fromUnit,
// measuredUnit, computeAt, gasMethod, fromParams: {mw, k, ambient, medium, vaporTemp}, ...).
// Values are a number, an array or a typed array (texts are read as tavimor-convert reads a
// value); results come back as a number for a number, else as a Float64Array.

import createTavimorEngine from "./tavimor-engine.js";

// The keywords chosen per call rather than held by the options, as in the Python package.
const PER_CALL = new Set(["increment", "raw"]);
// The command's options for how a table is read and written, which convertTable takes too.
const TABLE_NAMES = new Set([
  "delimiter", "column", "header", "measuredColumn", "computeAtColumn", "outputHeader",
  "replace", "increment",
]);

const snake = (name) => name.replace(/[A-Z]/g, (c) => "_" + c.toLowerCase());
const camel = (text) => text.replace(/\b([a-z]+)((?:_[a-z]+)+)\b/g,
  (_, head, rest) => head + rest.replace(/_([a-z])/g, (__, c) => c.toUpperCase()));

function typeName(value) {
  return value === null ? "null" : Array.isArray(value) ? "array" : typeof value;
}

// A value as the engine takes it: "n" and the shortest text that reads back to the same
// double, or "t" and a text; a switch is the number 1 or 0.
function fieldText(name, value) {
  if (typeof value === "number") return "n" + String(value);
  if (typeof value === "boolean") return value ? "n1" : "n0";
  if (typeof value === "string") return "t" + value;
  throw new TypeError(`${name} must be a number, a name or a switch, not ${typeName(value)}`);
}

// The options without those chosen per call.
function heldOptions(options) {
  const held = { ...options };
  for (const name of PER_CALL) delete held[name];
  return held;
}

class Engine {
  constructor(module) {
    this.module = module;
    const names = JSON.parse(this.#call("tv_names"));
    this.UNITS = Object.freeze(names.units);
    this.PRESSURE_UNITS = Object.freeze(names.pressure_units);
    this.FORMULAS = Object.freeze(names.formulas);
    this.ENHANCEMENTS = Object.freeze(names.enhancements);
    this.GAS_METHODS = Object.freeze(names.gas_methods);
    this.MEDIA = Object.freeze(names.media);
    this.COMBINATIONS = Object.freeze(names.combinations.map((c) => Object.freeze(c)));
    // The request's keywords in JavaScript's spelling, each with its keys (if any) likewise.
    this.keywords = new Map();
    for (const [keyword, key] of names.fields) {
      if (!keyword) continue;
      const name = camel(keyword);
      if (!this.keywords.has(name)) this.keywords.set(name, { keyword, keys: new Map() });
      if (key) this.keywords.get(name).keys.set(camel(key), key);
    }
  }

  // The request's fields, [name, text] in the engine's names (the Python package's): the
  // keywords of the request, and the names in allowed (those chosen per call, the table's).
  #requestFields(fromUnit, toUnit, options, allowed) {
    const fields = [["from_unit", fieldText("fromUnit", fromUnit)],
      ["to_unit", fieldText("toUnit", toUnit)]];
    for (const [key, value] of Object.entries(options ?? {})) {
      // null is the default; options read by settingsFromIni carry the units too, which the
      // arguments name.
      if (value === undefined || value === null || key === "fromUnit" || key === "toUnit") continue;
      const known = this.keywords.get(key);
      if (!allowed.has(key) && (!known || PER_CALL.has(key))) {
        throw new TypeError(`unknown option ${key}`);
      }
      if (!known?.keys.size) {
        fields.push([snake(key), fieldText(key, value)]);
        continue;
      }
      if (typeof value !== "object" || Array.isArray(value)) {
        throw new TypeError(`${key} must be an object, not ${typeName(value)}`);
      }
      for (const [param, v] of Object.entries(value)) {
        if (v === undefined || v === null) continue;
        const name = param === "saved" ? "saved" : known.keys.get(param);
        if (!name) {
          throw new RangeError(`${key}: unknown parameter ${param}: expected one of ` +
                               [...known.keys.keys()].join(", "));
        }
        fields.push([`${known.keyword}.${name}`, fieldText(`${key}.${param}`, v)]);
      }
    }
    return fields;
  }

  // A function of the module returning a text.
  #call(name, ...args) {
    const pointer = this.module["_" + name](...args);
    return pointer ? this.module.UTF8ToString(pointer) : null;
  }

  #withBytes(text, body) {
    const bytes = new TextEncoder().encode(text);
    const pointer = this.module._malloc(bytes.length + 1);
    try {
      this.module.HEAPU8.set(bytes, pointer);
      this.module.HEAPU8[pointer + bytes.length] = 0;
      return body(pointer, bytes.length);
    } finally {
      this.module._free(pointer);
    }
  }

  #request(fromUnit, toUnit, options, allowed = new Set()) {
    const fields = this.#requestFields(fromUnit, toUnit, options, allowed);
    const text = fields.map(([name, value]) => name + "\0" + value + "\0").join("");
    const error = this.#withBytes(text, (p, n) => this.#call("tv_request", p, n));
    if (error) throw new RangeError(camel(error));
  }

  // values as a flat Float64Array in the module's memory (and text flags), for body.
  #column(values, body) {
    const scalar = !(Array.isArray(values) || ArrayBuffer.isView(values));
    const list = scalar ? [values] : values;
    const n = list.length;
    const m = this.module;
    const input = m._malloc(Math.max(n, 1) * 8);
    const flags = m._malloc(Math.max(n, 1));
    try {
      const hasText = !ArrayBuffer.isView(list) && list.some((v) => typeof v === "string");
      if (hasText) {
        const joined = Array.from(list, (v) => (typeof v === "string" ? v : "")).join("\0");
        this.#withBytes(joined, (p, len) => m._tv_read_values(p, len, n, input, flags));
      } else {
        m.HEAPU8.fill(0, flags, flags + n);
      }
      const heap = new Float64Array(m.HEAPU8.buffer, input, n);
      const notNumber = new Uint8Array(m.HEAPU8.buffer, flags, n);
      for (let i = 0; i < n; ++i) {
        const v = list[i];
        if (typeof v === "string") continue;
        notNumber[i] = 0;
        if (v === null || v === undefined) {
          heap[i] = NaN;
        } else if (typeof v === "number") {
          heap[i] = v;
        } else {
          throw new TypeError(`values must be numbers or texts, not ${typeName(v)}`);
        }
      }
      return body({ scalar, n, input, flags, hasText, list });
    } finally {
      m._free(input);
      m._free(flags);
    }
  }

  #raiseFirstProblem(column, status) {
    const m = this.module;
    const values = new Float64Array(m.HEAPU8.buffer, column.input, column.n);
    const notNumber = new Uint8Array(m.HEAPU8.buffer, column.flags, column.n);
    for (let i = 0; i < column.n; ++i) {
      const text = column.hasText && notNumber[i];
      if (!text && !(status[i] && !Number.isNaN(values[i]))) continue;
      const reason = text ? "not a number" : this.#call("tv_range_message", values[i]);
      const where = column.scalar ? "" : ` at index ${i}`;
      throw new RangeError(`value ${JSON.stringify(column.list[i])}${where}: ${reason}`);
    }
  }

  #convert(values, fromUnit, toUnit, options, withDelta) {
    const { raw = true, errors = "nan", ...rest } = options ?? {};
    if (errors !== "nan" && errors !== "raise") {
      throw new RangeError(`errors must be "nan" or "raise", not ${JSON.stringify(errors)}`);
    }
    this.#request(fromUnit, toUnit, rest, withDelta ? new Set(["increment"]) : undefined);
    const m = this.module;
    return this.#column(values, (column) => {
      const n = column.n;
      const out = m._malloc(Math.max(n, 1) * 17);
      try {
        const result = out;
        const delta = out + n * 8;
        const status = out + n * 16;
        m._tv_convert(column.input, n, result, withDelta ? delta : 0, status, raw ? 0 : 1);
        const statusView = new Uint8Array(m.HEAPU8.buffer, status, n);
        if (errors === "raise") this.#raiseFirstProblem(column, statusView);
        const results = new Float64Array(m.HEAPU8.buffer, result, n).slice();
        const changes = withDelta ? new Float64Array(m.HEAPU8.buffer, delta, n).slice() : null;
        if (column.scalar) return [results[0], changes ? changes[0] : null];
        return [results, changes];
      } finally {
        m._free(out);
      }
    });
  }

  // The values converted from one unit into another: the held results (raw: true), or the
  // numbers the panel shows (raw: false); NaN for "out of range", a value outside the From
  // unit's range or a text without a number (errors: "raise" throws for those instead).
  convert(values, fromUnit, toUnit, options = {}) {
    return this.#convert(values, fromUnit, toUnit, options, false)[0];
  }

  // The incremental analysis: {result, change}, the change of each result when its value
  // changes by delta, formed in single precision as the panel forms it; NaN where the panel
  // shows "out of range" or "n/a".
  increment(values, delta, fromUnit, toUnit, options = {}) {
    const [result, change] = this.#convert(
      values, fromUnit, toUnit, { ...options, increment: delta }, true);
    return { result, change };
  }

  // The results under each of the 12 formula and enhancement choices (COMBINATIONS), their
  // smallest and largest and the choices giving them: {results, min, max, minCombination,
  // maxCombination}. The options are those of convert without formula and enhancement.
  spread(values, fromUnit, toUnit, options = {}) {
    const { raw = true, errors = "nan", ...rest } = options ?? {};
    if ("formula" in rest || "enhancement" in rest) {
      throw new TypeError("spread runs over every formula and enhancement factor");
    }
    this.#request(fromUnit, toUnit, rest);
    const m = this.module;
    const k = this.COMBINATIONS.length;
    return this.#column(values, (column) => {
      const n = column.n;
      const out = m._malloc(Math.max(n, 1) * (8 * k + 8 + 8 + 4 + 4 + 1));
      try {
        const results = out;
        const low = results + n * k * 8;
        const high = low + n * 8;
        const lowAt = high + n * 8;
        const highAt = lowAt + n * 4;
        const status = highAt + n * 4;
        m._tv_spread(column.input, n, results, low, high, lowAt, highAt, status, raw ? 0 : 1);
        if (errors === "raise") {
          this.#raiseFirstProblem(column, new Uint8Array(m.HEAPU8.buffer, status, n));
        }
        const buffer = m.HEAPU8.buffer;
        const spread = {
          results: new Float64Array(buffer, results, n * k).slice(),
          min: new Float64Array(buffer, low, n).slice(),
          max: new Float64Array(buffer, high, n).slice(),
          minCombination: new Int32Array(buffer, lowAt, n).slice(),
          maxCombination: new Int32Array(buffer, highAt, n).slice(),
        };
        if (!column.scalar) return spread;
        const pair = (i) => (i < 0 ? null : this.COMBINATIONS[i]);
        return {
          results: spread.results, min: spread.min[0], max: spread.max[0],
          minCombination: pair(spread.minCombination[0]),
          maxCombination: pair(spread.maxCombination[0]),
        };
      } finally {
        m._free(out);
      }
    });
  }

  // The texts the panel's result field shows for values in a unit.
  format(values, unit) {
    if (typeof unit !== "string" && !Number.isInteger(unit)) {
      throw new TypeError(`unit must be a name or an index, not ${typeName(unit)}`);
    }
    const name = String(unit);
    return this.#column(values, (column) => {
      const texts = this.#withBytes(name, (p) => this.#call("tv_format", column.input, column.n, p));
      if (texts === null) {
        throw new RangeError(`unknown unit ${JSON.stringify(name)}: expected one of ` +
                             this.UNITS.join(", ") + " (or an index 0 to 10)");
      }
      const lines = column.n === 0 ? [] : texts.split("\n");
      return column.scalar ? lines[0] : lines;
    });
  }

  // The lines tavimor-convert prints for the values, without line ends: the result as the
  // panel shows it (raw: all 17 digits), with increment a tab and the delta, or "error".
  convertText(values, fromUnit, toUnit, options = {}) {
    this.#request(fromUnit, toUnit, options, new Set(["increment", "raw"]));
    return this.#column(values, (column) => {
      const text = this.#call("tv_lines", column.input, column.hasText ? column.flags : 0,
                              column.n);
      const lines = column.n === 0 ? [] : text.split("\n");
      return column.scalar ? lines[0] : lines;
    });
  }

  // The saved selections of a tavimor.ini text, read by the program's own parser, as the
  // options of convert with fromUnit and toUnit (the saved From value is not used):
  //   const s = tavimor.settingsFromIni(text); tavimor.convert(v, s.fromUnit, s.toUnit, s);
  settingsFromIni(text) {
    return heldOptions(JSON.parse(this.#withBytes(text, (p, n) => this.#call("tv_read_ini", p, n))));
  }

  // Converts a table exactly as tavimor-convert --csv (--tsv, --delimiter) converts it,
  // streaming: io.read(maxBytes) gives the next bytes of the input (a Uint8Array, empty at
  // its end), io.write(bytes) takes the converted table, io.message(text) the reasons of
  // rows that gave "error" (as the command's standard error), io.progress(rows) follows each
  // block. options: those of convert, delimiter (default ","), column (number from 1 or
  // name), header ("auto", "yes", "no"), measuredColumn, computeAtColumn, outputHeader,
  // replace, increment. Returns the command's exit code: 0, 1 (some rows gave "error") or
  // 2 (the table lacks the columns asked for; the reason went to io.message).
  convertTable(io, fromUnit, toUnit, options = {}) {
    const { delimiter = ",", ...rest } = options ?? {};
    if (rest.column === undefined || rest.column === null) {
      throw new TypeError("a table needs a column");
    }
    this.#request(fromUnit, toUnit, { ...rest, delimiter }, TABLE_NAMES);
    const m = this.module;
    const decoder = new TextDecoder();
    m.tableRead = (pointer, max) => {
      const bytes = io.read(max);
      if (!bytes || bytes.length === 0) return 0;
      const n = Math.min(bytes.length, max);
      m.HEAPU8.set(n === bytes.length ? bytes : bytes.subarray(0, n), pointer);
      return n;
    };
    m.tableWrite = (stream, pointer, n) => {
      const bytes = m.HEAPU8.slice(pointer, pointer + n);
      if (stream === 1) {
        io.write(bytes);
      } else if (io.message) {
        io.message(decoder.decode(bytes));
      }
    };
    m.tableProgress = (rows) => io.progress?.(rows);
    try {
      return m._tv_table_run();
    } finally {
      m.tableRead = m.tableWrite = m.tableProgress = null;
    }
  }
}

// Loads the engine. options.wasmBinary: the module's bytes, where they cannot be fetched
// (under Node.js).
export async function load(options = {}) {
  const module = await createTavimorEngine(options);
  return new Engine(module);
}
