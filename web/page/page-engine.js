// The engine's functions for the page's panels (tv_panel_*, tv_dialog_*, the converters):
// texts in, JSON or texts out. The page computes nothing itself.

// Events of the Moisture/Humidity panel, as the engine numbers them.
export const PanelEvent = Object.freeze({
  FromText: 1, IncrementText: 2, MeasuredText: 3, ComputeAtText: 4,
  FromUnitPicked: 5, ToUnitPicked: 6, MeasuredUnitPicked: 7, ComputeAtUnitPicked: 8,
  IsobarClicked: 9, PressureChoiceClicked: 10, ZoomHeld: 11,
  FormulaChosen: 12, EnhancementChosen: 13, GasMethodChosen: 14,
});

// A field is read through its first 14 characters; a pasted novel need not cross whole.
const FIELD_CHARS = 256;
const field = (text) => String(text ?? "").slice(0, FIELD_CHARS);

export class PageEngine {
  constructor(module) {
    this.m = module;
  }

  // body(pointers, lengths) with each of the byte arrays or texts in the engine's memory,
  // zero-terminated.
  #with(items, body) {
    const m = this.m;
    const pointers = [];
    const lengths = [];
    try {
      for (const item of items) {
        const bytes = typeof item === "string" ? new TextEncoder().encode(item) : item;
        const p = m._malloc(bytes.length + 1);
        pointers.push(p);
        lengths.push(bytes.length);
        m.HEAPU8.set(bytes, p);
        m.HEAPU8[p + bytes.length] = 0;
      }
      return body(pointers, lengths);
    } finally {
      pointers.forEach((p) => m._free(p));
    }
  }

  #text(pointer) {
    return pointer ? this.m.UTF8ToString(pointer) : null;
  }

  #json(pointer) {
    return pointer ? JSON.parse(this.m.UTF8ToString(pointer)) : null;
  }

  texts() { return this.#json(this.m._tv_page_texts()); }
  load(ini) { return this.#with([ini], ([p], [n]) => this.#json(this.m._tv_panel_load(p, n))); }
  event(kind, number = 0, text = "") {
    return this.#with([field(text)], ([p]) => this.#json(this.m._tv_panel_event(kind, number, p)));
  }
  // The panel's conversion as the options of the API's convert, with its increment.
  request() {
    const { raw, ...options } = this.#json(this.m._tv_panel_request());
    return options;
  }
  list(text) { return this.#with([text], ([p], [n]) => this.#json(this.m._tv_panel_list(p, n))); }
  graph(width, height) { return this.#json(this.m._tv_panel_graph(width, height)); }
  keys(category) { return this.#json(this.m._tv_panel_keys(category)); }
  save(ini, category) {
    return this.#with([ini], ([p], [n]) => this.#text(this.m._tv_panel_save(p, n, category)));
  }
  dialogOpen(unit, side) { return this.#json(this.m._tv_dialog_open(unit, side)); }
  dialogOk(choice, unit, text) {
    return this.#with([field(text)], ([p]) => this.m._tv_dialog_ok(choice, unit, p) === 1);
  }
  temperature(text, from, to) {
    return this.#with([field(text)], ([p]) => this.#json(this.m._tv_temperature(p, from, to)));
  }
  pressure(text, from, to) {
    return this.#with([field(text)], ([p]) => this.#text(this.m._tv_pressure(p, from, to)));
  }
  // panel 0: temperature, 1: pressure.
  reexpress(panel, text, from, to) {
    return this.#with([field(text)], ([p]) => this.#text(this.m._tv_reexpress(panel, p, from, to)));
  }
  analog(value, low, high, voltage, resistor) {
    return this.#with([value, low, high, resistor].map(field), ([v, l, h, r]) =>
      this.#json(this.m._tv_analog(v, l, h, voltage ? 1 : 0, r)));
  }
  // The first rows of a table's bytes, each an array of its cells' texts.
  tablePeek(bytes, whole, delimiter, rows) {
    return this.#with([bytes], ([p], [n]) => this.#json(
      this.m._tv_table_peek(p, n, whole ? 1 : 0, delimiter.charCodeAt(0), rows)));
  }
}
