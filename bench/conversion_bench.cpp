#include <benchmark/benchmark.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "core/conversion_hub.h"
#include "core/moisture_conversion.h"
#include "core/single_precision.h"

namespace tavimor {
namespace {

using U = MoistureUnit;

// One conversion From -> To at standard pressure, over a spread of inputs so that the
// searches take different paths.
void Convert(benchmark::State& state, U from, U to, double lo, double hi, GasMethod method,
             DensityMedium medium) {
  CalcSettings settings;
  settings.GasMethod = method;
  settings.From.DensityMedium = medium;
  settings.To.DensityMedium = medium;
  const PhysicsChoice physics =
      ChoosePhysics(settings, static_cast<int>(from), static_cast<int>(to));
  const UnitParams fromSide = UnitParamsOf(settings.From);
  const UnitParams toSide = UnitParamsOf(settings.To);
  std::vector<double> values(1024);
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = lo + (hi - lo) * static_cast<double>(i) / static_cast<double>(values.size());
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const double ppmv = MoistureToPpmv(from, values[i], 1013.25, fromSide, physics);
    const double r = ppmv == OutOfRange
                         ? OutOfRange
                         : PpmvToMoisture(to, ppmv, 1013.25, toSide, 1013.25, physics);
    benchmark::DoNotOptimize(r);
    i = (i + 1) & (values.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

constexpr auto kIgt = GasMethod::IgtBulletin8;
constexpr auto kAstm = GasMethod::Astm;
constexpr auto kGas = DensityMedium::NaturalGas;

BENCHMARK_CAPTURE(Convert, DewPointToPpmv, U::DewPointC, U::Ppmv, -60, 50, kIgt, kGas);
BENCHMARK_CAPTURE(Convert, PpmvToDewPoint, U::Ppmv, U::DewPointC, 1, 100000, kIgt, kGas);
BENCHMARK_CAPTURE(Convert, PpmvToDewFrostPoint, U::Ppmv, U::DewFrostPointC, 1, 100000, kIgt, kGas);
BENCHMARK_CAPTURE(Convert, LbsIgtToDewPoint, U::LbsPerMmscf, U::DewPointC, 1, 5000, kIgt, kGas);
BENCHMARK_CAPTURE(Convert, LbsAstmToDewPoint, U::LbsPerMmscf, U::DewPointC, 1, 5000, kAstm, kGas);
BENCHMARK_CAPTURE(Convert, GramsNaturalGasToPpmv, U::GramsPerM3, U::Ppmv, 0.01, 90, kIgt, kGas);

// The panel's inputs and settings for a conversion at standard pressure.
std::pair<MoistureInputs, CalcSettings> PanelFor(U from, U to, GasMethod method) {
  CalcSettings settings;
  settings.GasMethod = method;
  MoistureInputs inputs;
  inputs.FromUnit = inputs.FromListSelection = static_cast<int>(from);
  inputs.ToListSelection = static_cast<int>(to);
  return {inputs, settings};
}

// The same conversions on the whole path of the panel, the command and the Python package:
// the From value held and range-checked, the recomputation with its held ppmv and result.
void Recompute(benchmark::State& state, U from, U to, double lo, double hi, GasMethod method) {
  const auto [inputs, settings] = PanelFor(from, to, method);
  const MoistureConversion conversion(inputs, settings);
  std::vector<double> values(1024);
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = lo + (hi - lo) * static_cast<double>(i) / static_cast<double>(values.size());
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const float value = HoldSingle(values[i]);
    if (!FromValueRangeMessage(inputs.FromUnit, value)) {
      benchmark::DoNotOptimize(conversion.values(value));
    }
    i = (i + 1) & (values.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(Recompute, PpmvToDewPoint, U::Ppmv, U::DewPointC, 1, 100000, kIgt);
BENCHMARK_CAPTURE(Recompute, LbsAstmToDewPoint, U::LbsPerMmscf, U::DewPointC, 1, 5000, kAstm);

// A column of 10^6 values through that path, in the order bench/web/per_value.js gives them
// to the WebAssembly engine in the browser: the native figure beside the page's.
void PerValuePath(benchmark::State& state, U from, U to, double lo, double hi, GasMethod method) {
  const auto [inputs, settings] = PanelFor(from, to, method);
  constexpr uint64_t kCount = 1000000;
  std::vector<double> values(kCount);
  for (uint64_t i = 0; i < kCount; ++i) {
    values[i] =
        lo + (hi - lo) * static_cast<double>(i * 7919 % kCount) / static_cast<double>(kCount);
  }
  std::vector<double> results(kCount);
  for (auto _ : state) {
    const MoistureConversion conversion(inputs, settings);
    for (uint64_t i = 0; i < kCount; ++i) {
      const float value = HoldSingle(values[i]);
      const MoistureValues m = FromValueRangeMessage(inputs.FromUnit, value)
                                   ? MoistureValues{}
                                   : conversion.values(value);
      results[i] = m.ResultValid ? m.Result : -1.0;
    }
    benchmark::DoNotOptimize(results.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kCount));
}

BENCHMARK_CAPTURE(PerValuePath, DewPointToPpmv, U::DewPointC, U::Ppmv, -60, 50, kIgt)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerValuePath, PpmvToDewPoint, U::Ppmv, U::DewPointC, 1, 100000, kIgt)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PerValuePath, LbsAstmToDewPoint, U::LbsPerMmscf, U::DewPointC, 1, 5000, kAstm)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavimor

BENCHMARK_MAIN();
