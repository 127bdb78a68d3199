// The parameter dialogs of the units that need one (gas, liquid, dry-bulb temperature,
// medium): they open with the values the desktop's dialogs show, behave as they do, and close
// only through OK with a value the engine accepts. The engine decides the acceptance and the
// texts; a refusal is said beside the field instead of the desktop's silence.

const REFUSALS = {
  gas: "The molecular weight must be a number above 0.",
  liquid: "Henry's constant K must be a number above 0.",
  ambient: "The temperature must be above -80 and below 200 °C (-112 and 392 °F).",
  density: "The temperature must be above -80 and below 200 °C (-112 and 392 °F).",
};

const $ = (id) => document.getElementById(id);
const checkedValue = (name) => Number(document.querySelector(`input[name="${name}"]:checked`)?.value ?? 0);
const check = (name, value) => {
  for (const radio of document.getElementsByName(name)) radio.checked = Number(radio.value) === value;
};

export class ParameterDialogs {
  constructor(engine, texts) {
    this.engine = engine;
    this.liquids = texts.liquids;
    const gasList = $("gasList");
    texts.gases.forEach((text, i) => gasList.add(new Option(text, String(i))));
    const liquidList = $("liquidList");
    for (const liquid of texts.liquids) {
      const row = document.createElement("div");
      row.className = "choice";
      const id = `liquid-${liquid.button}`;
      row.innerHTML = `<input type="radio" name="liquid" id="${id}" value="${liquid.button}"><label for="${id}"></label>`;
      row.querySelector("label").textContent = liquid.text;
      liquidList.append(row);
    }
    // The molecular weight takes typed digits only, as the desktop's field.
    $("gasMolWeight").addEventListener("beforeinput", (e) => {
      if (e.inputType === "insertText" && e.data && /[^0-9]/.test(e.data)) e.preventDefault();
    });
    gasList.addEventListener("change", () => this.#gasChosen());
    liquidList.addEventListener("change", () => this.#liquidChosen());
    for (const radio of document.getElementsByName("medium")) {
      radio.addEventListener("change", () => this.#mediumChosen());
    }
    for (const kind of Object.keys(REFUSALS)) {
      const dialog = $(`dialog-${kind}`);
      // Escape does not close a parameter dialog: it ends only through OK.
      dialog.addEventListener("cancel", (e) => e.preventDefault());
      dialog.querySelector("form").addEventListener("submit", (e) => {
        e.preventDefault();
        this.#ok();
      });
    }
  }

  // Shows the dialog of a unit for a side (0 From, 1 To); resolves once it is closed, the
  // engine holding its answer for the unit pick that follows.
  open(unit, side) {
    const data = this.engine.dialogOpen(unit, side);
    if (!data) return Promise.resolve();
    this.kind = data.kind;
    this.data = data;
    const dialog = $(`dialog-${data.kind}`);
    dialog.querySelector(".refusal").hidden = true;
    if (data.kind === "gas") {
      $("gasList").value = String(data.choice);
      $("gasMolWeight").value = data.field;
      $("gasMolWeight").disabled = data.choice !== 15;
    } else if (data.kind === "liquid") {
      check("liquid", data.choice);
      this.workingK = data.working;
      $("liquidK").value = data.field;
    } else if (data.kind === "ambient") {
      check("ambientUnit", data.unit);
      $("ambientTemperature").value = data.field;
    } else {
      check("medium", data.choice);
      check("vaporUnit", data.unit);
      $("vaporTemperature").value = data.field;
      this.#mediumChosen();
    }
    return new Promise((resolve) => {
      dialog.addEventListener("close", () => resolve(), { once: true });
      dialog.showModal();
    });
  }

  #gasChosen() {
    const other = Number($("gasList").value) === 15;
    const field = $("gasMolWeight");
    field.disabled = !other;
    if (other) field.value = this.data.working;
  }

  #liquidChosen() {
    const button = checkedValue("liquid");
    const liquid = this.liquids.find((l) => l.button === button);
    if (button === 1019) {
      $("liquidK").value = this.workingK;
    } else if (liquid) {
      this.workingK = liquid.k;
    }
  }

  // Natural gas fixes the temperature at standard conditions and greys it out.
  #mediumChosen() {
    const naturalGas = checkedValue("medium") === 1038;
    const field = $("vaporTemperature");
    if (naturalGas) field.value = checkedValue("vaporUnit") === 1040 ? "60" : "15.6";
    field.disabled = naturalGas;
    for (const radio of document.getElementsByName("vaporUnit")) radio.disabled = naturalGas;
  }

  #ok() {
    const controls = {
      gas: () => [Number($("gasList").value), 0, $("gasMolWeight").value],
      liquid: () => [checkedValue("liquid"), 0, $("liquidK").value],
      ambient: () => [0, checkedValue("ambientUnit"), $("ambientTemperature").value],
      density: () => [checkedValue("medium"), checkedValue("vaporUnit"), $("vaporTemperature").value],
    }[this.kind]();
    const dialog = $(`dialog-${this.kind}`);
    if (this.engine.dialogOk(...controls)) {
      dialog.close();
      return;
    }
    const refusal = dialog.querySelector(".refusal");
    refusal.textContent = REFUSALS[this.kind];
    refusal.hidden = false;
  }
}
