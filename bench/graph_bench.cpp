#include <benchmark/benchmark.h>

#include "plot/plot_graph.h"

namespace tavimor {
namespace {

using U = MoistureUnit;

// One repaint's worth of conversions on the 350 x 180 graph: the curve and both isobars,
// 3 x 275 samples plus the marker.
void GraphRepaint(benchmark::State& state, U from, U to, double fromValue, GasMethod method) {
  GraphInputs in;
  in.FromUnit = static_cast<int>(from);
  in.ToUnit = static_cast<int>(to);
  in.FromValue = fromValue;
  in.Isobars = GraphIsobars::AtMeasured;
  in.Settings.GasMethod = method;
  in.Settings.From.DensityMedium = DensityMedium::NaturalGas;
  in.Settings.To.DensityMedium = DensityMedium::NaturalGas;
  std::size_t points = 0;
  for (auto _ : state) {
    const GraphPlan plan = PlanMoistureGraph(in, 350, 180);
    points = plan.Curve.size() + plan.Isobars.at(0).size() + plan.Isobars.at(1).size();
    benchmark::DoNotOptimize(plan.MarkerAt);
  }
  state.counters["points"] = static_cast<double>(points);
}

BENCHMARK_CAPTURE(GraphRepaint, LbsPerMmscfAstmToDewPointF, U::LbsPerMmscf, U::DewPointF, 100,
                  GasMethod::Astm)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GraphRepaint, GramsPerM3NaturalGasToDewFrostPointC, U::GramsPerM3,
                  U::DewFrostPointC, 5, GasMethod::Astm)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GraphRepaint, DewPointCToLbsPerMmscfAstm, U::DewPointC, U::LbsPerMmscf, -20,
                  GasMethod::Astm)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GraphRepaint, DewFrostPointCToPpmv, U::DewFrostPointC, U::Ppmv, -20,
                  GasMethod::IgtBulletin8)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavimor
