#pragma once

// The graph's curve and isobars sampled with the literal conversion algorithms, as the
// yardstick of PlanMoistureGraph in the equivalence test and the benchmarks.

#include <vector>

#include "plot/plot_graph.h"
#include "reference/reference.h"

namespace tavimor::reference {

inline double GraphConvert(const GraphConversion& c, double x, double p1Mbar, double p2Mbar) {
  const double ppmv = reference::MoistureToPpmv(c.From, x, p1Mbar, c.FromSide, c.Physics);
  if (IsOutOfRange(ppmv)) return OutOfRange;
  return reference::PpmvToMoisture(c.To, ppmv, p2Mbar, c.ToSide, c.MeasuredPressureMbar, c.Physics);
}

// SampleCurve with the reference conversion.
inline std::vector<PixelPoint> SampleGraphCurve(const PlotGeometry& geometry,
                                                const GraphConversion& c,
                                                CurvePressures pressures) {
  std::vector<PixelPoint> points;
  if (!std::isfinite(pressures.P1Mbar) || !std::isfinite(pressures.P2Mbar)) return points;
  float x = geometry.X.Min;
  for (int i = 0; i < geometry.Nx; ++i) {
    const std::optional<float> y =
        CurveValue(GraphConvert(c, x, pressures.P1Mbar, pressures.P2Mbar), geometry.Y);
    if (!y) break;
    const std::optional<int> px = ColumnOf(geometry, x);
    const std::optional<int> py = RowOf(geometry, *y);
    if (!px || !py) break;
    points.push_back({*px, *py});
    x += geometry.XPerPixel;
  }
  return points;
}

// The conversions of one unzoomed paint: curve, isobars and marker.
struct GraphCurves {
  std::vector<PixelPoint> Curve;
  std::vector<std::vector<PixelPoint>> Isobars;
  float MarkerValue = 0;
};

inline GraphCurves SampleGraph(const GraphInputs& inputs, int width, int height) {
  GraphCurves out;
  const std::optional<GraphConversion> c = MakeGraphConversion(inputs);
  if (!c) return out;
  const std::optional<PlotGeometry> g =
      MakePlotGeometry(width, height, DefaultAxisRange(c->From), DefaultAxisRange(c->To));
  if (!g) return out;
  const float pm = inputs.MeasuredPressureMbar;
  const float pc = inputs.ComputePressureMbar;
  out.Curve = reference::SampleGraphCurve(*g, *c, {pm, pc});
  for (const CurvePressures& p : IsobarPressures(inputs.Isobars, pm, pc)) {
    out.Isobars.push_back(reference::SampleGraphCurve(*g, *c, p));
  }
  out.MarkerValue = tavimor::MarkerValue(GraphConvert(*c, inputs.FromValue, pm, pc), g->Y);
  return out;
}

}  // namespace tavimor::reference
