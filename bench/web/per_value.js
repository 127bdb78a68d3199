// The WebAssembly engine's whole per-value path in a Worker: 10^6 values as a Float64Array
// through tavimor.js's convert (copy in, range check, conversion, copy out), in the order
// bench/conversion_bench.cpp's PerValuePath gives them to the native engine.
import { load } from "./tavimor.js";

const CASES = [
  ["DewPointToPpmv", "dp-c", "ppmv", -60, 50, "igt"],
  ["PpmvToDewPoint", "ppmv", "dp-c", 1, 100000, "igt"],
  ["LbsAstmToDewPoint", "lb-mmscf", "dp-c", 1, 5000, "astm"],
];
const COUNT = 1000000;

self.onmessage = async () => {
  const engine = await load();
  const times = {};
  for (const [name, from, to, lo, hi, gasMethod] of CASES) {
    const values = new Float64Array(COUNT);
    for (let i = 0; i < COUNT; ++i) values[i] = lo + (hi - lo) * ((i * 7919) % COUNT) / COUNT;
    const start = performance.now();
    engine.convert(values, from, to, { gasMethod });
    times[name] = performance.now() - start;
  }
  self.postMessage(times);
};
