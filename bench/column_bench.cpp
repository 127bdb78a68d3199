// A column of 10^6 values converted forward (dew or frost point to partial pressure, Hyland
// and Wexler) on the per-value path and on the column path, beside the floor: a plain loop of
// the Hyland-Wexler water equation alone, one log and one exp per value, as a C programmer
// would write it. bench/python/bench_convert.py reads these beside the Python package's arrays.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/moisture_conversion.h"
#include "core/single_precision.h"

namespace tavimor {
namespace {

using U = MoistureUnit;
constexpr uint64_t kCount = 1000000;

// Evenly spread over [lo, hi), in an order that no predictor follows.
std::vector<double> Spread(double lo, double hi) {
  std::vector<double> values(kCount);
  for (uint64_t i = 0; i < kCount; ++i) {
    values[i] =
        lo + (hi - lo) * static_cast<double>(i * 7919 % kCount) / static_cast<double>(kCount);
  }
  return values;
}

// Hyland and Wexler (1983) over water, T in K, result in mbar: the formula of the core's
// saturation.cpp written out as a plain function.
double HylandWexlerWaterPlain(double T) {
  const double s = 4.1764768e-05 * T * T - (5800.2206 / T + 0.048640239 * T + 5.516256) -
                   1.4452093000000001e-08 * T * T * T + 6.5459673 * std::log(T);
  return 10 * std::exp(s);
}

void FloorLoop(benchmark::State& state) {
  const std::vector<double> values = Spread(0, 60);
  std::vector<double> results(kCount);
  for (auto _ : state) {
    for (uint64_t i = 0; i < kCount; ++i) results[i] = HylandWexlerWaterPlain(values[i] + 273.15);
    benchmark::DoNotOptimize(results.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kCount));
}
BENCHMARK(FloorLoop)->Name("Floor/HylandWexlerWater")->Unit(benchmark::kMillisecond);

MoistureConversion HylandWexler(U from, U to) {
  CalcSettings settings;
  settings.SwvpFormula = SwvpFormula::HylandWexler;
  MoistureInputs inputs;
  inputs.FromUnit = inputs.FromListSelection = static_cast<int>(from);
  inputs.ToListSelection = static_cast<int>(to);
  return MoistureConversion(inputs, settings);
}

// The path the command and the package took value by value: held, range-checked, converted.
void PerValue(benchmark::State& state, U from, double lo, double hi) {
  const MoistureConversion conversion = HylandWexler(from, U::PartialPressure);
  const std::vector<double> values = Spread(lo, hi);
  std::vector<double> results(kCount);
  for (auto _ : state) {
    for (uint64_t i = 0; i < kCount; ++i) {
      const float value = HoldSingle(values[i]);
      const MoistureValues m = FromValueRangeMessage(static_cast<int>(from), value)
                                   ? MoistureValues{}
                                   : conversion.values(value);
      results[i] = m.ResultValid ? m.Result : -1.0;
    }
    benchmark::DoNotOptimize(results.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kCount));
}

// The column path, as the Python package takes it.
void Column(benchmark::State& state, U from, double lo, double hi) {
  const MoistureConversion conversion = HylandWexler(from, U::PartialPressure);
  const std::vector<double> values = Spread(lo, hi);
  std::vector<double> results(kCount);
  std::vector<uint8_t> outside(kCount);
  for (auto _ : state) {
    conversion.convertColumn(values, results, outside);
    benchmark::DoNotOptimize(results.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kCount));
}

BENCHMARK_CAPTURE(PerValue, DewPointToPartialPressure, U::DewPointC, 0, 60)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Column, DewPointToPartialPressure, U::DewPointC, 0, 60)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerValue, FrostPointToPartialPressure, U::DewFrostPointC, -60, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Column, FrostPointToPartialPressure, U::DewFrostPointC, -60, 0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavimor
