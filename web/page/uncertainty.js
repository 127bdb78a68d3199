// How sure the Moisture/Humidity panel's result is: the "±" beside the From value and the
// pressures, the coverage factor and the formulas' share, and beside the result the 95 %
// interval with the standard uncertainty and each input's contribution, as tavimor-convert
// --uncertainty and Python's tavimor.uncertainty give them. The 10^5 draws run in a Worker
// after the result is shown, one job at a time, the latest waiting; typing never waits for
// them. With every "±" empty nothing is computed or shown.

const $ = (id) => document.getElementById(id);

// The page's fields by the request's keywords, which the link and the storage use too.
const FIELDS = [["u", "fromU"], ["measured_u", "measuredU"], ["compute_at_u", "computeAtU"],
  ["coverage_factor", "coverageFactor"]];
const FORMULA = "include_formula";
export const UNCERTAINTY_KEYS = new Set([...FIELDS.map(([key]) => key), FORMULA]);
const DEFAULT_K = "2";
// The API's option names at the start of a refusal, as the page names the fields.
const NAMES = [["u", "The ± of the From value"], ["measuredU", "The ± of the measured pressure"],
  ["computeAtU", "The ± of the compute-at pressure"], ["coverageFactor", "The coverage factor"]];
const INPUT_NAMES = { value: "From value", measured: "measured pressure",
  computeAt: "compute-at pressure", formula: "formulas" };

// A standard uncertainty or a contribution with two significant digits, as the GUM (7.2.6)
// advises.
function twoDigits(x) {
  return Number.isFinite(x) ? String(Number(x.toPrecision(2))) : "n/a";
}

export class UncertaintyView {
  constructor(engine, onChange) {
    this.engine = engine;
    this.onChange = onChange;
    this.worker = null;
    this.busy = false;
    this.waiting = null;  // the latest job, sent when the Worker is free
    this.latest = 0;
    this.lastJob = "";
    this.note = "";
    for (const [, id] of FIELDS) $(id).addEventListener("input", () => this.#changed());
    $("includeFormula").addEventListener("change", () => this.#changed());
  }

  // The uncertainties that differ from their defaults, as [keyword, text] pairs.
  pairs() {
    const pairs = [];
    for (const [key, id] of FIELDS) {
      const text = $(id).value.trim();
      if (text && !(key === "coverage_factor" && text === DEFAULT_K)) pairs.push([key, text]);
    }
    if ($("includeFormula").checked) pairs.push([FORMULA, "1"]);
    return pairs;
  }

  // Takes the uncertainties of pairs [keyword, text], the others at their defaults.
  restore(pairs) {
    const given = new Map(pairs);
    for (const [key, id] of FIELDS) {
      $(id).value = (given.get(key) ?? (key === "coverage_factor" ? DEFAULT_K : "")).slice(0, 40);
    }
    $("includeFormula").checked = given.get(FORMULA) === "1";
    this.#schedule();
  }

  // After the panel changed: an uncertainty whose field's value was re-expressed into
  // another unit goes along (the engine says how), then the interval follows the result.
  panelChanged(state, previous, unitPicked) {
    this.state = state;
    this.note = "";
    if (previous) {
      const fromMoved = state.fromList !== previous.fromList ||
        (unitPicked && state.changed.includes("from"));
      this.#reexpress("fromU", false, fromMoved, previous.fromList, state.fromList);
      this.#reexpress("measuredU", true, state.measuredList !== previous.measuredList,
                      previous.measuredList, state.measuredList);
      this.#reexpress("computeAtU", true, state.computeAtList !== previous.computeAtList,
                      previous.computeAtList, state.computeAtList);
    }
    $("computeAtU").disabled = !state.computeAtEnabled;
    this.#schedule();
  }

  #reexpress(id, pressure, moved, from, to) {
    const text = $(id).value.trim();
    if (!moved || !text) return;
    const now = this.engine.reexpressUncertainty(pressure, text, from, to) ?? "";
    $(id).value = now;
    if (!now && !pressure) this.note = "The ± of the From value was cleared: it was in the former unit.";
  }

  #changed() {
    this.note = "";
    this.#schedule();
    this.onChange?.();
  }

  // The job of the fields as they stand, or null where every ± is empty.
  #job() {
    const text = (id) => $(id).value.trim() || null;
    const atMeasured = !this.state.computeAtEnabled;
    const u = text("fromU");
    const measuredU = text("measuredU");
    const computeAtU = atMeasured ? null : text("computeAtU");
    if (!u && !measuredU && !computeAtU) return null;
    const { increment, ...request } = this.engine.request();
    return {
      value: this.state.fromValue, fromUnit: request.fromUnit, toUnit: request.toUnit,
      options: { ...request, u, measuredU, computeAtU, coverageFactor: text("coverageFactor"),
        includeFormula: $("includeFormula").checked },
    };
  }

  #schedule() {
    if (!this.state) return;
    const job = this.#job();
    $("uncertaintyOptions").hidden = job === null;
    const key = JSON.stringify(job);
    if (key === this.lastJob) {
      if (job === null) this.#showNote();
      return;
    }
    this.lastJob = key;
    const id = ++this.latest;
    if (job === null) {
      this.waiting = null;
      $("interval").hidden = true;
      this.#showNote();
      $("interval").dataset.state = "off";
      return;
    }
    for (const shown of [$("interval"), $("uncertaintyDetails")]) {
      shown.classList.add("pending");
      shown.setAttribute("aria-busy", "true");
    }
    $("interval").dataset.state = "pending";
    this.waiting = { id, ...job };
    this.#send();
  }

  #send() {
    if (this.busy || !this.waiting) return;
    if (!this.worker) {
      this.worker = new Worker("uncertainty-worker.js", { type: "module" });
      this.worker.onmessage = (e) => this.#answered(e.data);
      this.worker.onerror = (e) => {
        e.preventDefault?.();
        this.#answered({ id: this.latest, failure: e.message || "the Worker did not start" });
      };
    }
    this.busy = true;
    this.worker.postMessage(this.waiting);
    this.waiting = null;
  }

  #answered(answer) {
    this.busy = false;
    if (answer.id === this.latest) this.#show(answer);
    this.#send();
  }

  #showNote() {
    const details = $("uncertaintyDetails");
    details.classList.remove("pending", "refusal");
    details.removeAttribute("aria-busy");
    details.textContent = this.note;
    details.hidden = !this.note;
  }

  #show(answer) {
    const interval = $("interval");
    const details = $("uncertaintyDetails");
    for (const shown of [interval, details]) {
      shown.classList.remove("pending");
      shown.removeAttribute("aria-busy");
    }
    interval.dataset.state = "ready";
    details.classList.toggle("refusal", Boolean(answer.refusal || answer.failure));
    details.hidden = false;
    if (answer.refusal || answer.failure) {
      interval.hidden = true;
      let message = answer.failure
        ? `The interval cannot be computed in this browser (${answer.failure}).` : answer.refusal;
      for (const [option, name] of NAMES) {
        if (message.startsWith(option + " ")) message = name + message.slice(option.length);
      }
      details.textContent = message;
      return;
    }
    const { result: r, texts } = answer;
    const label = document.createElement("span");
    label.className = "interval-label";
    label.textContent = "95 %";
    const known = !r.reachesOutOfRange && Number.isFinite(r.low);
    interval.replaceChildren(label, " ",
                             known ? `${texts.low} … ${texts.high}` : "interval reaches out of range");
    interval.hidden = false;
    const parts = [];
    if (known && $("includeFormula").checked) {
      parts.push(`estimate ${texts.estimate}, the middle of the formulas' spread`);
    }
    if (known) parts.push(`standard uncertainty ${twoDigits(r.standardUncertainty)}`);
    const shares = Object.entries(r.contributions)
      .map(([input, c]) => `${INPUT_NAMES[input]} ${twoDigits(c.value)}`);
    if (shares.length) parts.push(`contributions: ${shares.join(", ")}`);
    details.textContent = [this.note, parts.join("; ")].filter(Boolean).join(" ");
  }
}
