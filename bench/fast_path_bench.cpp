// Each fast path beside the literal algorithm it must equal (tavimor::reference), in the same
// run. Inputs are shuffled so that consecutive searches do not share a path by construction.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "core/conversion_hub.h"
#include "core/unit_tables.h"
#include "plot/plot_graph.h"
#include "reference/reference.h"
#include "reference/reference_graph.h"

namespace tavimor {
namespace {

using U = MoistureUnit;

struct FastHub {
  static double ToPpmv(U u, double v, double p, const UnitParams& s, const PhysicsChoice& c) {
    return MoistureToPpmv(u, v, p, s, c);
  }
  static double FromPpmv(U u, double ppmv, double p, const UnitParams& s, double p2,
                         const PhysicsChoice& c) {
    return PpmvToMoisture(u, ppmv, p, s, p2, c);
  }
};

struct ReferenceHub {
  static double ToPpmv(U u, double v, double p, const UnitParams& s, const PhysicsChoice& c) {
    return reference::MoistureToPpmv(u, v, p, s, c);
  }
  static double FromPpmv(U u, double ppmv, double p, const UnitParams& s, double p2,
                         const PhysicsChoice& c) {
    return reference::PpmvToMoisture(u, ppmv, p, s, p2, c);
  }
};

// 65536 values from lo to hi, evenly or evenly in the logarithm, in a fixed random order.
std::vector<double> Inputs(double lo, double hi, bool logarithmic) {
  std::vector<double> values(65536);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double f = static_cast<double>(i) / static_cast<double>(values.size());
    values[i] = logarithmic ? lo * std::pow(hi / lo, f) : lo + (hi - lo) * f;
  }
  std::shuffle(values.begin(), values.end(), std::mt19937_64(42));
  return values;
}

struct Pair {
  U From;
  U To;
  double Lo;
  double Hi;
  bool Logarithmic;
  SwvpFormula Formula = SwvpFormula::GoffGratch;
  EnhancementFactor Factor = EnhancementFactor::NoEnhancement;
  GasMethod Method = GasMethod::IgtBulletin8;
  double PressureMbar = 1013.25;
};

// Many values of one unit pair at one pressure, as a list conversion or a graph runs them.
template <class Hub>
void ConvertMany(benchmark::State& state, Pair pair) {
  CalcSettings settings;
  settings.SwvpFormula = pair.Formula;
  settings.EnhancementFactor = pair.Factor;
  settings.GasMethod = pair.Method;
  const PhysicsChoice physics =
      ChoosePhysics(settings, static_cast<int>(pair.From), static_cast<int>(pair.To));
  const UnitParams fromSide = UnitParamsOf(settings.From);
  const UnitParams toSide = UnitParamsOf(settings.To);
  const std::vector<double> values = Inputs(pair.Lo, pair.Hi, pair.Logarithmic);
  const double p = pair.PressureMbar;
  std::size_t i = 0;
  for (auto _ : state) {
    const double ppmv = Hub::ToPpmv(pair.From, values[i], p, fromSide, physics);
    const double r =
        ppmv == OutOfRange ? OutOfRange : Hub::FromPpmv(pair.To, ppmv, p, toSide, p, physics);
    benchmark::DoNotOptimize(r);
    i = (i + 1) & (values.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

void FastMany(benchmark::State& state, Pair pair) {
  ConvertMany<FastHub>(state, pair);
}
void ReferenceMany(benchmark::State& state, Pair pair) {
  ConvertMany<ReferenceHub>(state, pair);
}

const Pair kPpmvToDewPoint{U::Ppmv, U::DewPointC, 0.01, 200000, true};
const Pair kPpmvToDewFrostPoint{U::Ppmv, U::DewFrostPointC, 0.01, 200000, true};
const Pair kPpmvToDewPointGreenspan{U::Ppmv,
                                    U::DewPointC,
                                    0.01,
                                    200000,
                                    true,
                                    SwvpFormula::Sonntag,
                                    EnhancementFactor::Greenspan,
                                    GasMethod::IgtBulletin8,
                                    5000};

BENCHMARK_CAPTURE(FastMany, PpmvToDewPoint, kPpmvToDewPoint);
BENCHMARK_CAPTURE(ReferenceMany, PpmvToDewPoint, kPpmvToDewPoint);
BENCHMARK_CAPTURE(FastMany, PpmvToDewFrostPoint, kPpmvToDewFrostPoint);
BENCHMARK_CAPTURE(ReferenceMany, PpmvToDewFrostPoint, kPpmvToDewFrostPoint);
BENCHMARK_CAPTURE(FastMany, PpmvToDewPointGreenspan5000, kPpmvToDewPointGreenspan);
BENCHMARK_CAPTURE(ReferenceMany, PpmvToDewPointGreenspan5000, kPpmvToDewPointGreenspan);

// lb/MMSCF under ASTM to the unit given by the argument (0 to 10).
template <class Hub>
void LbsAstmToUnit(benchmark::State& state) {
  Pair pair{U::LbsPerMmscf, static_cast<U>(state.range(0)), 0.5, 5812, true};
  pair.Method = GasMethod::Astm;
  ConvertMany<Hub>(state, pair);
}
BENCHMARK_TEMPLATE(LbsAstmToUnit, FastHub)->DenseRange(0, 10);
BENCHMARK_TEMPLATE(LbsAstmToUnit, ReferenceHub)->DenseRange(0, 10);

// A search whose pressure changes at every call while an enhancement factor reads it: the
// worst case of the caches, every call a new key.
template <class Hub>
void DewPointNewPressureEachCall(benchmark::State& state) {
  const PhysicsChoice physics{SwvpFormula::GoffGratch, EnhancementFactor::Greenspan,
                              GasMethod::IgtBulletin8};
  const std::vector<double> values = Inputs(1, 100000, true);
  const UnitParams side;
  std::size_t i = 0;
  double p = 1000;
  for (auto _ : state) {
    p += 0.01;
    benchmark::DoNotOptimize(Hub::FromPpmv(U::DewPointC, values[i], p, side, p, physics));
    i = (i + 1) & (values.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK_TEMPLATE(DewPointNewPressureEachCall, FastHub);
BENCHMARK_TEMPLATE(DewPointNewPressureEachCall, ReferenceHub);

// Every search at a total pressure of its own, as the rows of a table with a pressure column,
// isobars at new pressures and the spread run them: conversion 0 ppmv to dew point, 1 ppmv to
// dew/frost point, 2 lb/MMSCF (IGT) to ppmv, 3 lb/MMSCF (ASTM) to ppmv, 4 ppmv to lb/MMSCF
// (ASTM); formula 0 Goff-Gratch, 1 Hyland and Wexler, 2 Sonntag, 3 Magnus; factor 0 none,
// 1 Greenspan, 2 Bögel. The natural-gas conversions are timed as the panel runs them (plain
// Goff-Gratch) and with a factor, as a direct call may.
template <class Hub>
void NewPressureEachCall(benchmark::State& state) {
  const auto conversion = state.range(0);
  const PhysicsChoice physics{
      std::array{SwvpFormula::GoffGratch, SwvpFormula::HylandWexler, SwvpFormula::Sonntag,
                 SwvpFormula::Magnus}[static_cast<std::size_t>(state.range(1))],
      std::array{EnhancementFactor::NoEnhancement, EnhancementFactor::Greenspan,
                 EnhancementFactor::Bogel}[static_cast<std::size_t>(state.range(2))],
      conversion == 2 ? GasMethod::IgtBulletin8 : GasMethod::Astm};
  const bool fromLbs = conversion == 2 || conversion == 3;
  const std::vector<double> values = fromLbs ? Inputs(0.5, 5812, true) : Inputs(1, 100000, true);
  std::vector<double> pressures = Inputs(500, 50000, true);
  std::shuffle(pressures.begin(), pressures.end(), std::mt19937_64(3));
  const UnitParams side;
  const U to = conversion == 0   ? U::DewPointC
               : conversion == 1 ? U::DewFrostPointC
                                 : U::LbsPerMmscf;
  std::size_t i = 0;
  for (auto _ : state) {
    const double p = pressures[i];
    benchmark::DoNotOptimize(fromLbs ? Hub::ToPpmv(U::LbsPerMmscf, values[i], p, side, physics)
                                     : Hub::FromPpmv(to, values[i], p, side, p, physics));
    i = (i + 1) & (values.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}
void NewPressureArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"conversion", "formula", "factor"});
  for (int conversion : {0, 1}) {
    for (int formula = 0; formula < 4; ++formula) {
      for (int factor = 0; factor < 3; ++factor) b->Args({conversion, formula, factor});
    }
  }
  for (int conversion : {2, 3, 4}) {
    b->Args({conversion, 0, 0});
    b->Args({conversion, 2, 1});
  }
}
BENCHMARK_TEMPLATE(NewPressureEachCall, FastHub)->Apply(NewPressureArgs);
BENCHMARK_TEMPLATE(NewPressureEachCall, ReferenceHub)->Apply(NewPressureArgs);

// The rows of a logger table converted from ppmv to dew/frost point, each at its row's line
// pressure (psig, read like the panel's pressure field), as tavimor-convert converts a table
// with a pressure column. Argument pressures: 0 one pressure, 1 100 distinct pressures in
// runs of 1 to 199 rows, 2 a new pressure every row; factor: 0 none, 1 Greenspan; values:
// 0 a logger's slow random walk, 1 values spread at random over five decades.
struct TableRow {
  double Ppmv;
  double PressureMbar;
};

std::vector<TableRow> TableRows(int pressures, bool randomValues) {
  std::mt19937_64 rng(14);
  std::uniform_real_distribution<double> uniform(0, 1);
  std::normal_distribution<double> step(0, 0.01);
  std::vector<double> distinct(100);
  for (double& p : distinct) p = 50 + 100 * uniform(rng);
  std::vector<TableRow> rows(65536);
  double logPpmv = std::log(200.0);
  double psig = 100;
  int left = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    logPpmv = randomValues ? std::log(0.1) + uniform(rng) * std::log(2e5)
                           : std::clamp(logPpmv + step(rng), 0.0, std::log(5000.0));
    if (pressures == 1 && left-- == 0) {
      psig = distinct[rng() % distinct.size()];
      left = static_cast<int>(rng() % 199);
    } else if (pressures == 2) {
      psig = 100 + static_cast<double>(i) * 0.001;
    }
    rows[i] = {std::exp(logPpmv), ReadPressureMbar(static_cast<float>(psig), 2)};
  }
  return rows;
}

template <class Hub>
void TableRowsAtTheirPressure(benchmark::State& state) {
  const PhysicsChoice physics{
      SwvpFormula::GoffGratch,
      state.range(1) ? EnhancementFactor::Greenspan : EnhancementFactor::NoEnhancement,
      GasMethod::IgtBulletin8};
  const std::vector<TableRow> rows =
      TableRows(static_cast<int>(state.range(0)), state.range(2) != 0);
  const UnitParams side;
  std::size_t i = 0;
  for (auto _ : state) {
    const TableRow& row = rows[i];
    const double ppmv = Hub::ToPpmv(U::Ppmv, row.Ppmv, row.PressureMbar, side, physics);
    benchmark::DoNotOptimize(
        Hub::FromPpmv(U::DewFrostPointC, ppmv, row.PressureMbar, side, row.PressureMbar, physics));
    i = (i + 1) & (rows.size() - 1);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK_TEMPLATE(TableRowsAtTheirPressure, FastHub)
    ->ArgsProduct({{0, 1, 2}, {0, 1}, {0, 1}})
    ->ArgNames({"pressures", "factor", "values"});
BENCHMARK_TEMPLATE(TableRowsAtTheirPressure, ReferenceHub)
    ->ArgsProduct({{0, 1, 2}, {0, 1}, {0, 1}})
    ->ArgNames({"pressures", "factor", "values"});

// The dew/frost-point search alone on partial pressures, shuffled (argument 0) or in
// ascending order (1), at one pressure.
template <bool kFast>
void SearchOnly(benchmark::State& state) {
  const PhysicsChoice physics{};
  std::vector<double> values = Inputs(1e-4, 150, true);
  if (state.range(0)) std::sort(values.begin(), values.end());
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        kFast ? DewFrostPointFromPressure(values[i], 1013.25, physics)
              : reference::DewFrostPointFromPressure(values[i], 1013.25, physics));
    i = (i + 1) & (values.size() - 1);
  }
}
BENCHMARK_TEMPLATE(SearchOnly, true)->Arg(0)->Arg(1);
BENCHMARK_TEMPLATE(SearchOnly, false)->Arg(0)->Arg(1);

// One whole graph of the panel (350 x 180 pixels: 275 columns) with both isobars.
GraphInputs GraphOf(U from, U to, double fromValue, GraphIsobars isobars) {
  GraphInputs in;
  in.FromUnit = static_cast<int>(from);
  in.ToUnit = static_cast<int>(to);
  in.FromValue = fromValue;
  in.Isobars = isobars;
  in.Settings.GasMethod = GasMethod::Astm;
  in.Settings.From.DensityMedium = DensityMedium::NaturalGas;
  in.Settings.To.DensityMedium = DensityMedium::NaturalGas;
  return in;
}
constexpr int kGraphWidth = 350;
constexpr int kGraphHeight = 180;

void GraphFast(benchmark::State& state, GraphInputs inputs) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlanMoistureGraph(inputs, kGraphWidth, kGraphHeight));
  }
}
void GraphReference(benchmark::State& state, GraphInputs inputs) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(reference::SampleGraph(inputs, kGraphWidth, kGraphHeight));
  }
}

const GraphInputs kLbsAstmToDewPointF =
    GraphOf(U::LbsPerMmscf, U::DewPointF, 100, GraphIsobars::AtMeasured);
const GraphInputs kGramsNaturalGasToDewFrostPoint =
    GraphOf(U::GramsPerM3, U::DewFrostPointC, 5, GraphIsobars::AtMeasured);
const GraphInputs kDewFrostPointToPpmv =
    GraphOf(U::DewFrostPointC, U::Ppmv, -20, GraphIsobars::AtComputeAt);

BENCHMARK_CAPTURE(GraphFast, LbsAstmToDewPointF, kLbsAstmToDewPointF)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(GraphReference, LbsAstmToDewPointF, kLbsAstmToDewPointF)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(GraphFast, GramsNaturalGasToDewFrostPoint, kGramsNaturalGasToDewFrostPoint)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(GraphReference, GramsNaturalGasToDewFrostPoint, kGramsNaturalGasToDewFrostPoint)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(GraphFast, DewFrostPointToPpmv, kDewFrostPointToPpmv)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(GraphReference, DewFrostPointToPpmv, kDewFrostPointToPpmv)
    ->Unit(benchmark::kMicrosecond);

// A graph with an enhancement factor whose pressures change at every paint, as while the
// user edits a pressure field: every paint starts on new keys.
template <bool kFast>
void GraphNewPressureEachPaint(benchmark::State& state) {
  GraphInputs in = GraphOf(U::Ppmv, U::DewPointC, 5000, GraphIsobars::AtComputeAt);
  in.Settings.EnhancementFactor = EnhancementFactor::Greenspan;
  in.Settings.To.DensityMedium = DensityMedium::AirMixture;
  in.Settings.From.DensityMedium = DensityMedium::AirMixture;
  for (auto _ : state) {
    in.MeasuredPressureMbar += 0.25f;
    in.ComputePressureMbar += 0.25f;
    if (kFast) {
      benchmark::DoNotOptimize(PlanMoistureGraph(in, kGraphWidth, kGraphHeight));
    } else {
      benchmark::DoNotOptimize(reference::SampleGraph(in, kGraphWidth, kGraphHeight));
    }
  }
}
BENCHMARK_TEMPLATE(GraphNewPressureEachPaint, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(GraphNewPressureEachPaint, false)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavimor
