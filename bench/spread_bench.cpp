// The spread of one conversion (12 conversions, one per formula and enhancement choice) as a
// keystroke runs it, beside the one conversion of the result field. Values come in a fixed
// random order, so that consecutive keystrokes share no search path by construction.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "core/formula_spread.h"
#include "plot/plot_graph.h"

namespace tavimor {
namespace {

using U = MoistureUnit;

struct Keystroke {
  U From;
  U To;
  float Lo;  // From values, evenly in the logarithm when Lo > 0
  float Hi;
  float PressureMbar;
  GasMethod Method = GasMethod::IgtBulletin8;
};

std::vector<float> Values(const Keystroke& k) {
  std::vector<float> values(4096);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double f = static_cast<double>(i) / static_cast<double>(values.size());
    values[i] =
        static_cast<float>(k.Lo > 0 ? k.Lo * std::pow(k.Hi / k.Lo, f) : k.Lo + (k.Hi - k.Lo) * f);
  }
  std::shuffle(values.begin(), values.end(), std::mt19937_64(7));
  return values;
}

MoistureInputs InputsOf(const Keystroke& k) {
  MoistureInputs inputs;
  inputs.FromUnit = inputs.FromListSelection = static_cast<int>(k.From);
  inputs.ToListSelection = static_cast<int>(k.To);
  inputs.MeasuredPressure = inputs.ComputePressure = k.PressureMbar;
  return inputs;
}

CalcSettings SettingsOf(const Keystroke& k) {
  CalcSettings settings;
  settings.GasMethod = k.Method;
  settings.SwvpFormula = SwvpFormula::Sonntag;
  settings.EnhancementFactor = EnhancementFactor::Greenspan;
  return settings;
}

// The 12 conversions of the spread for one From value per iteration.
void Spread(benchmark::State& state, Keystroke k) {
  const std::vector<float> values = Values(k);
  MoistureInputs inputs = InputsOf(k);
  const CalcSettings settings = SettingsOf(k);
  std::size_t i = 0;
  for (auto _ : state) {
    inputs.FromValue = values[i];
    benchmark::DoNotOptimize(ComputeMoistureSpread(inputs, settings));
    i = (i + 1) % values.size();
  }
}

// The result field's one conversion with its texts, as the keystroke makes it today.
void Result(benchmark::State& state, Keystroke k) {
  const std::vector<float> values = Values(k);
  MoistureInputs inputs = InputsOf(k);
  const CalcSettings settings = SettingsOf(k);
  std::size_t i = 0;
  for (auto _ : state) {
    inputs.FromValue = values[i];
    benchmark::DoNotOptimize(ComputeMoistureResults(inputs, settings));
    i = (i + 1) % values.size();
  }
}

// The same 12 conversions, but each combination through all values before the next, so that
// every search finds its key in the per-thread grid cache: what the spread would cost if that
// cache held 12 keys. Reported per 12 conversions, as Spread.
void SpreadWithWarmGrid(benchmark::State& state, Keystroke k) {
  const std::vector<float> values = Values(k);
  MoistureInputs inputs = InputsOf(k);
  const CalcSettings settings = SettingsOf(k);
  std::array<PhysicsChoice, kPhysicsCombinationCount> physics{};
  for (std::size_t c = 0; c < kPhysicsCombinationCount; ++c) {
    CalcSettings combination = settings;
    combination.SwvpFormula = kPhysicsCombinations[c].SwvpFormula;
    combination.EnhancementFactor = kPhysicsCombinations[c].EnhancementFactor;
    physics[c] = ChoosePhysics(combination, inputs.FromListSelection, inputs.ToListSelection);
  }
  std::size_t i = 0;
  std::size_t c = 0;
  for (auto _ : state) {
    for (std::size_t n = 0; n < kPhysicsCombinationCount; ++n) {
      inputs.FromValue = values[i];
      benchmark::DoNotOptimize(ConvertMoistureValue(inputs, settings, physics[c]));
      if (++i == values.size()) {
        i = 0;
        c = (c + 1) % kPhysicsCombinationCount;
      }
    }
  }
}

// A keystroke's computing without Qt: the result and delta texts and the graph with both
// isobars, with the spread (argument 1) or without (0). The spread's 12 keys push the graph's
// out of the per-thread grid cache, so its next paint starts cold.
void KeystrokeWithGraph(benchmark::State& state, Keystroke k) {
  const bool withSpread = state.range(0) != 0;
  const std::vector<float> values = Values(k);
  MoistureInputs inputs = InputsOf(k);
  const CalcSettings settings = SettingsOf(k);
  GraphInputs graph;
  graph.FromUnit = inputs.FromUnit;
  graph.ToUnit = inputs.ToListSelection;
  graph.MeasuredPressureMbar = graph.ComputePressureMbar = k.PressureMbar;
  graph.Isobars = GraphIsobars::AtMeasured;
  graph.Settings = settings;
  std::size_t i = 0;
  for (auto _ : state) {
    inputs.FromValue = values[i];
    graph.FromValue = values[i];
    benchmark::DoNotOptimize(ComputeMoistureResults(inputs, settings));
    if (withSpread) benchmark::DoNotOptimize(ComputeMoistureSpread(inputs, settings));
    benchmark::DoNotOptimize(PlanMoistureGraph(graph, 350, 180));
    i = (i + 1) % values.size();
  }
}

const Keystroke kLbsAstmToDewFrostPoint{U::LbsPerMmscf, U::DewFrostPointC, 0.5f, 5812,
                                        30000,          GasMethod::Astm};
const Keystroke kPpmvToDewFrostPoint20Bar{U::Ppmv, U::DewFrostPointC, 0.01f, 100000, 20000};
const Keystroke kPpmvToDewPoint20Bar{U::Ppmv, U::DewPointC, 0.01f, 100000, 20000};
const Keystroke kDewFrostPointToPpmv20Bar{U::DewFrostPointC, U::Ppmv, -100, 40, 20000};
// A graph whose curve spans the whole plot: 3 x 275 dew-point searches on one key, which
// is one of the spread's twelve.
const Keystroke kPartialPressureToDewPoint20Bar{U::PartialPressure, U::DewPointC, 0.1f, 120, 20000};

BENCHMARK_CAPTURE(Result, LbsAstmToDewFrostPoint, kLbsAstmToDewFrostPoint)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Spread, LbsAstmToDewFrostPoint, kLbsAstmToDewFrostPoint)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Result, PpmvToDewFrostPoint20Bar, kPpmvToDewFrostPoint20Bar)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Spread, PpmvToDewFrostPoint20Bar, kPpmvToDewFrostPoint20Bar)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SpreadWithWarmGrid, PpmvToDewFrostPoint20Bar, kPpmvToDewFrostPoint20Bar)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Result, PpmvToDewPoint20Bar, kPpmvToDewPoint20Bar)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Spread, PpmvToDewPoint20Bar, kPpmvToDewPoint20Bar)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SpreadWithWarmGrid, PpmvToDewPoint20Bar, kPpmvToDewPoint20Bar)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Result, DewFrostPointToPpmv20Bar, kDewFrostPointToPpmv20Bar)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Spread, DewFrostPointToPpmv20Bar, kDewFrostPointToPpmv20Bar)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(KeystrokeWithGraph, PpmvToDewFrostPoint20Bar, kPpmvToDewFrostPoint20Bar)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(KeystrokeWithGraph, LbsAstmToDewFrostPoint, kLbsAstmToDewFrostPoint)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(KeystrokeWithGraph, PartialPressureToDewPoint20Bar,
                  kPartialPressureToDewPoint20Bar)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavimor
