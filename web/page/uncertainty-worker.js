// The panel's uncertainty propagated away from the page (UncertaintyView): a job is the
// value, the units and the options of tavimor.uncertainty; the answer its result with the
// interval's ends and the estimate as the result field would show them, or the refusal.

import { load } from "./tavimor.js";

const engine = load();

self.onmessage = async (e) => {
  const { id, value, fromUnit, toUnit, options } = e.data;
  let tavimor;
  try {
    tavimor = await engine;
  } catch (error) {
    self.postMessage({ id, failure: error.message });
    return;
  }
  try {
    const result = tavimor.uncertainty(value, fromUnit, toUnit, options);
    const [low, high, estimate] = tavimor.format([result.low, result.high, result.estimate], toUnit);
    self.postMessage({ id, result, texts: { low, high, estimate } });
  } catch (error) {
    self.postMessage({ id, refusal: error.message });
  }
};
