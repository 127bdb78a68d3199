// The Moisture/Humidity panel as a web form: every event goes to the desktop's own model in
// the engine, and the form writes back what the model says: the field texts it changed, the
// lists, the choices, the result, the delta, the spread, a range warning and the graph.

import { describeGraph, graphSize, paintGraph } from "./graph.js";
import { PanelEvent } from "./page-engine.js";

const $ = (id) => document.getElementById(id);
// Units that open a parameter dialog, and the prompt their list entry ends with.
const OPTION_UNITS = new Map([[6, "choose gas…"], [8, "specify medium…"], [9, "choose temp…"],
  [10, "choose liquid…"]]);
const FIELDS = { from: "from", increment: "increment", measured: "measured", computeAt: "computeAt" };

export class MoisturePanel {
  constructor(engine, dialogs, texts, onChange) {
    this.engine = engine;
    this.dialogs = dialogs;
    this.onChange = onChange;
    this.canvas = $("graph");
    for (const id of ["measuredUnit", "computeAtUnit"]) {
      texts.pressureUnits.forEach((name, i) => $(id).add(new Option(name, String(i))));
    }
    for (const id of ["fromUnit", "toUnit"]) {
      for (let i = 0; i < 11; ++i) $(id).add(new Option("", String(i)));
      // A button beside the list opens the dialog of the unit shown, as picking it again does
      // on the desktop.
      const button = document.createElement("button");
      button.type = "button";
      button.id = `${id}Parameters`;
      button.className = "parameters";
      button.hidden = true;
      $(id).after(button);
      button.addEventListener("click", () => this.#unitPicked(id, Number($(id).value)));
    }
    this.#wire();
    new ResizeObserver(() => this.paint()).observe(this.canvas);
  }

  // Loads the selections of an INI text; returns what is said of each value it holds that its
  // dialog refuses, which took the default.
  load(ini) {
    const state = this.engine.load(ini);
    this.#render(state, true);
    return state.refused;
  }

  #send(kind, number, text) {
    this.#render(this.engine.event(kind, number, text), false);
  }

  #wire() {
    const texts = [["from", PanelEvent.FromText], ["increment", PanelEvent.IncrementText],
      ["measured", PanelEvent.MeasuredText], ["computeAt", PanelEvent.ComputeAtText]];
    for (const [id, kind] of texts) {
      $(id).addEventListener("input", () => this.#send(kind, 0, $(id).value));
    }
    for (const id of ["fromUnit", "toUnit"]) {
      $(id).addEventListener("change", () => this.#unitPicked(id, Number($(id).value)));
    }
    $("measuredUnit").addEventListener("change",
      () => this.#send(PanelEvent.MeasuredUnitPicked, Number($("measuredUnit").value)));
    $("computeAtUnit").addEventListener("change",
      () => this.#send(PanelEvent.ComputeAtUnitPicked, Number($("computeAtUnit").value)));
    const radios = [["isobar", PanelEvent.IsobarClicked],
      ["pressureChoice", PanelEvent.PressureChoiceClicked], ["formula", PanelEvent.FormulaChosen],
      ["enhancement", PanelEvent.EnhancementChosen], ["gasMethod", PanelEvent.GasMethodChosen]];
    for (const [name, kind] of radios) {
      for (const radio of document.getElementsByName(name)) {
        radio.addEventListener("change", () => this.#send(kind, Number(radio.value)));
      }
    }
    // The zoom lasts while the button is held, by pointer or by Space or Enter.
    const zoom = $("zoom");
    const hold = (held) => {
      if ((zoom.getAttribute("aria-pressed") === "true") === held) return;
      zoom.setAttribute("aria-pressed", String(held));
      this.#send(PanelEvent.ZoomHeld, held ? 1 : 0);
    };
    zoom.setAttribute("aria-pressed", "false");
    zoom.addEventListener("pointerdown", (e) => {
      zoom.setPointerCapture?.(e.pointerId);
      hold(true);
    });
    for (const type of ["pointerup", "pointercancel", "lostpointercapture"]) {
      zoom.addEventListener(type, () => hold(false));
    }
    zoom.addEventListener("keydown", (e) => {
      if ((e.key === " " || e.key === "Enter") && !e.repeat) {
        e.preventDefault();
        hold(true);
      }
    });
    zoom.addEventListener("keyup", (e) => {
      if (e.key === " " || e.key === "Enter") hold(false);
    });
    zoom.addEventListener("blur", () => hold(false));
    $("convertList").addEventListener("click", () => this.#convertList());
    $("copyList").addEventListener("click", () => navigator.clipboard?.writeText($("listResults").value));
  }

  #convertList() {
    const c = this.engine.list($("listValues").value);
    if (c.refusal) {
      $("listMessage").textContent = c.refusal;
      return;
    }
    $("listResults").value = c.output;
    $("copyList").disabled = !c.output;
    const lines = c.output ? c.output.split("\n").length - 1 : 0;
    const outside = c.warnings.length
      ? ` ${c.warnings.length} outside the From unit's range converted as 0 (${c.warnings[0]}).` : "";
    $("listMessage").textContent = `${lines} values converted.${outside}`;
    this.#render({ ...c.state, warning: null }, false);
  }

  async #unitPicked(id, index) {
    const side = id === "fromUnit" ? 0 : 1;
    if (OPTION_UNITS.has(index)) await this.dialogs.open(index, side);
    this.#send(side === 0 ? PanelEvent.FromUnitPicked : PanelEvent.ToUnitPicked, index);
  }

  #render(state, all) {
    this.state = state;
    for (const name of all ? Object.keys(FIELDS) : state.changed) {
      if (FIELDS[name]) $(FIELDS[name]).value = state[name];
    }
    $("result").value = state.result;
    $("delta").value = state.delta;
    for (const [id, entries, selected] of [["fromUnit", state.fromEntries, state.fromList],
      ["toUnit", state.toEntries, state.toList]]) {
      const list = $(id);
      entries.forEach((text, i) => {
        if (list.options[i].text !== text) list.options[i].text = text;
      });
      list.selectedIndex = selected;
      const button = $(`${id}Parameters`);
      button.hidden = !OPTION_UNITS.has(selected);
      button.textContent = OPTION_UNITS.get(selected) ?? "";
      button.setAttribute("aria-label", `${id === "fromUnit" ? "From" : "To"} unit: ` +
                          (OPTION_UNITS.get(selected) ?? "").replace("…", ""));
    }
    $("measuredUnit").selectedIndex = state.measuredList;
    $("computeAtUnit").selectedIndex = state.computeAtList;
    $("computeAt").disabled = !state.computeAtEnabled;
    $("computeAtUnit").disabled = !state.computeAtEnabled;
    const radios = { isobar: state.isobar, pressureChoice: state.pressureChoice,
      formula: state.formula, enhancement: state.enhancement, gasMethod: state.gasMethod };
    for (const [name, value] of Object.entries(radios)) {
      for (const radio of document.getElementsByName(name)) radio.checked = Number(radio.value) === value;
    }
    $("caption").value = state.caption.trim() ? state.caption : "";
    $("spread").textContent = state.spread;
    // A range warning stays until the next event.
    const warning = $("warning");
    warning.textContent = state.warning ?? "";
    warning.hidden = !state.warning;
    if (state.focus === "fromSelected") {
      $("from").focus();
      $("from").select();
    }
    this.paint();
    this.onChange?.();
  }

  paint() {
    if (!this.state) return;
    const size = graphSize(this.canvas);
    const plan = this.engine.graph(size.width, size.height);
    paintGraph(this.canvas, plan, size);
    const unitText = (list) => list.options[list.selectedIndex]?.text ?? "no unit";
    $("graphText").textContent = describeGraph(plan, unitText($("fromUnit")), unitText($("toUnit")));
  }
}
