// The temperature, pressure and 4-20 mA converters, with the desktop panels' events: the
// From field notifies on every change and on gaining or losing the focus; picking the unit
// already acted on changes nothing; a new From unit re-expresses the From value.

const $ = (id) => document.getElementById(id);

// A From field, its unit lists and its result, as the temperature and pressure panels share
// them; compute(text, from, to) gives the result text, reexpress the From text in a new unit.
function unitConverter(prefix, names, fromUnit, toUnit, compute, reexpress) {
  const from = $(`${prefix}From`);
  const fromList = $(`${prefix}FromUnit`);
  const toList = $(`${prefix}ToUnit`);
  names.forEach((name, i) => {
    fromList.add(new Option(name, String(i)));
    toList.add(new Option(name, String(i)));
  });
  fromList.selectedIndex = fromUnit;
  toList.selectedIndex = toUnit;
  const result = (to) => {
    $(`${prefix}Result`).value = compute(from.value, fromUnit, to);
    toUnit = to;
  };
  for (const type of ["input", "focus", "blur"]) from.addEventListener(type, () => result(toUnit));
  toList.addEventListener("change", () => {
    const n = toList.selectedIndex;
    if (n !== toUnit) result(n);
  });
  fromList.addEventListener("change", () => {
    const n = fromList.selectedIndex;
    if (n === fromUnit) return;
    const text = reexpress(from.value, fromUnit, n);
    fromUnit = n;
    from.value = text;
    result(toUnit);
  });
}

export function setUpConverters(engine, texts) {
  unitConverter("t", texts.temperatureUnits, 1, 0, (text, from, to) => {
    const r = engine.temperature(text, from, to);
    $("tSentence").hidden = !r.sentence;
    return r.result;
  }, (text, from, to) => engine.reexpress(0, text, from, to));
  unitConverter("p", texts.pressureUnits, 1, 0, (text, from, to) => engine.pressure(text, from, to),
                (text, from, to) => engine.reexpress(1, text, from, to));

  // The analog output panel: only the reading, the resistor and the mode recompute; the
  // range fields count at the next of those.
  const voltage = () => $("detect-1055").checked;
  const compute = () => {
    const r = engine.analog($("aValue").value, $("aLow").value, $("aHigh").value, voltage(),
                            $("aResistor").value);
    $("aResult").value = r.result;
    return r;
  };
  const resistorNotified = () => {
    const r = compute();
    if (voltage()) $("aUnit").value = r.unit;
  };
  for (const type of ["input", "focus", "blur"]) {
    $("aValue").addEventListener(type, compute);
    $("aResistor").addEventListener(type, resistorNotified);
  }
  $("detect-1054").addEventListener("change", () => {
    $("aResistor").disabled = true;
    $("aResistorLabel").classList.add("disabled");
    $("aUnit").value = "mA";
    compute();
  });
  $("detect-1055").addEventListener("change", () => {
    $("aResistor").disabled = false;
    $("aResistorLabel").classList.remove("disabled");
    resistorNotified();
  });
  compute();
}
