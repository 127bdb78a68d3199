// One propagated conversion (10^5 Monte Carlo trials, the contributions and, where it
// applies, the exact interval) per unit-pair family, beside the same 10^5 trials' conversions
// alone, drawn beforehand: the difference is what the propagation adds to the conversions.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "core/random_normal.h"
#include "core/single_precision.h"
#include "core/uncertainty.h"

namespace tavimor {
namespace {

using U = MoistureUnit;

struct Family {
  U From;
  U To;
  float Value;
  double FromExpanded;  // U at k = 2
  bool FromRelative;
  float Pressure;  // measured = compute-at pressure, in PressureUnit
  PressureUnit Unit;
  double PressurePercent;  // U of the pressure at k = 2, percent
  EnhancementFactor Factor = EnhancementFactor::NoEnhancement;
  bool Formula = false;
};

UncertaintyRequest RequestOf(const Family& f) {
  UncertaintyRequest r;
  r.Inputs.FromValue = f.Value;
  r.Inputs.FromUnit = r.Inputs.FromListSelection = static_cast<int>(f.From);
  r.Inputs.ToListSelection = static_cast<int>(f.To);
  r.Inputs.MeasuredPressure = f.Pressure;
  r.Inputs.MeasuredPressureUnit = static_cast<int>(f.Unit);
  r.ComputeAtMeasured = true;
  r.FromExpanded = f.FromExpanded;
  r.FromRelative = f.FromRelative;
  r.Measured.Expanded = f.PressurePercent;
  r.Measured.Relative = true;
  r.IncludeFormula = f.Formula;
  return r;
}

CalcSettings SettingsOf(const Family& f) {
  CalcSettings settings;
  settings.EnhancementFactor = f.Factor;
  return settings;
}

void Propagate(benchmark::State& state, Family f) {
  const UncertaintyRequest request = RequestOf(f);
  const CalcSettings settings = SettingsOf(f);
  for (auto _ : state) benchmark::DoNotOptimize(PropagateUncertainty(request, settings));
}

// The trials' conversions alone: the same draws, converted as the propagation converts them
// (as a column while the pressure stays, a new conversion object per trial when it varies).
void ConversionsAlone(benchmark::State& state, Family f) {
  const UncertaintyRequest request = RequestOf(f);
  const CalcSettings settings = SettingsOf(f);
  MoistureInputs inputs = request.Inputs;
  inputs.ComputePressure = inputs.MeasuredPressure;
  inputs.ComputePressureUnit = inputs.MeasuredPressureUnit;
  const double x0 = f.Value;
  const double uFrom = (f.FromRelative ? x0 / 100 : 1.0) * f.FromExpanded / 2;
  const double uPressure = f.Pressure * f.PressurePercent / 100 / 2;
  RandomStream fromDraws(kUncertaintySeed, 0);
  RandomStream pressureDraws(kUncertaintySeed, 1);
  std::vector<float> values(kUncertaintySamples);
  std::vector<float> pressures(kUncertaintySamples, f.Pressure);
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = HoldSingle(x0 + uFrom * fromDraws.normal());
    if (uPressure > 0) pressures[i] = HoldSingle(f.Pressure + uPressure * pressureDraws.normal());
  }
  const MoistureConversion fixed(inputs, settings);
  const std::vector<double> wide(values.begin(), values.end());
  std::vector<double> results(values.size());
  std::vector<uint8_t> outside(values.size());
  for (auto _ : state) {
    if (uPressure > 0) {
      for (std::size_t i = 0; i < values.size(); ++i) {
        inputs.MeasuredPressure = inputs.ComputePressure = pressures[i];
        benchmark::DoNotOptimize(MoistureConversion(inputs, settings).values(values[i]));
      }
    } else {
      fixed.convertColumn(wide, results, outside);
      benchmark::DoNotOptimize(results.data());
    }
  }
}

// Saturation only: a frost point of -60 °C ± 2 °C to ppmv.
const Family kFrostPointToPpmv{U::DewFrostPointC,  U::Ppmv, -60, 2, false, 1013.25f,
                               PressureUnit::Mbar, 0};
// The same with the 12 formula choices as a contribution.
const Family kFrostPointToPpmvFormula{U::DewFrostPointC,
                                      U::Ppmv,
                                      -60,
                                      2,
                                      false,
                                      1013.25f,
                                      PressureUnit::Mbar,
                                      0,
                                      EnhancementFactor::NoEnhancement,
                                      true};
// Arithmetic only: what the sampling and the statistics cost.
const Family kPpmvToPpmw{U::Ppmv, U::PpmwGas, 100, 10, true, 1013.25f, PressureUnit::Mbar, 0};
// The dew-point search at one pressure: the cached grid.
const Family kPpmvToFrostPoint{U::Ppmv,  U::DewFrostPointC,  10.65f, 20, true,
                               1013.25f, PressureUnit::Mbar, 0};
// The tariff example: a dew point of -2 °C ± 2 °C at 800 psig ± 1 % to lb/MMSCF.
const Family kTariff{U::DewPointC, U::LbsPerMmscf, -2, 2, false, 800, PressureUnit::Psig, 1};
// lb/MMSCF in: the content search on every trial.
const Family kLbsToDewPoint{U::LbsPerMmscf, U::DewPointC, 7, 10, true, 800, PressureUnit::Psig, 0};
// A pressure that varies into the dew-point search: without an enhancement factor the grid's
// key ignores the pressure; with Greenspan every trial has a key of its own (the slow path).
const Family kPpmvToDewPointPressure{U::Ppmv, U::DewPointC,       100, 10, true,
                                     20000,   PressureUnit::Mbar, 1};
const Family kPpmvToDewPointPressureGreenspan{U::Ppmv,
                                              U::DewPointC,
                                              100,
                                              10,
                                              true,
                                              20000,
                                              PressureUnit::Mbar,
                                              1,
                                              EnhancementFactor::Greenspan};

// 10^5 standard normal deviates, as the trials of one input draw them: one by one, and in
// bulk (the same bits).
void NormalDeviatesOneByOne(benchmark::State& state) {
  std::vector<double> z(kUncertaintySamples);
  for (auto _ : state) {
    RandomStream draws(kUncertaintySeed, 0);
    for (double& d : z) d = draws.normal();
    benchmark::DoNotOptimize(z.data());
  }
}
void NormalDeviatesInBulk(benchmark::State& state) {
  std::vector<double> z(kUncertaintySamples);
  for (auto _ : state) {
    RandomStream draws(kUncertaintySeed, 0);
    draws.normals(z.data(), z.size());
    benchmark::DoNotOptimize(z.data());
  }
}
BENCHMARK(NormalDeviatesOneByOne)->Unit(benchmark::kMillisecond);
BENCHMARK(NormalDeviatesInBulk)->Unit(benchmark::kMillisecond);

#define TAVIMOR_UNCERTAINTY_BENCH(name)                                       \
  BENCHMARK_CAPTURE(Propagate, name, k##name)->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(ConversionsAlone, name, k##name)->Unit(benchmark::kMillisecond)

TAVIMOR_UNCERTAINTY_BENCH(PpmvToPpmw);
TAVIMOR_UNCERTAINTY_BENCH(FrostPointToPpmv);
TAVIMOR_UNCERTAINTY_BENCH(FrostPointToPpmvFormula);
TAVIMOR_UNCERTAINTY_BENCH(PpmvToFrostPoint);
TAVIMOR_UNCERTAINTY_BENCH(Tariff);
TAVIMOR_UNCERTAINTY_BENCH(LbsToDewPoint);
TAVIMOR_UNCERTAINTY_BENCH(PpmvToDewPointPressure);
TAVIMOR_UNCERTAINTY_BENCH(PpmvToDewPointPressureGreenspan);

}  // namespace
}  // namespace tavimor
