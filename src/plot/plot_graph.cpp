#include "plot/plot_graph.h"

#include <cmath>

#include "core/conversion_hub.h"
#include "core/single_precision.h"

namespace tavimor {

double GraphConversion::operator()(double x, double p1Mbar, double p2Mbar) const {
  const double ppmv = MoistureToPpmv(From, x, p1Mbar, FromSide, Physics);
  if (IsOutOfRange(ppmv)) return OutOfRange;
  return PpmvToMoisture(To, ppmv, p2Mbar, ToSide, MeasuredPressureMbar, Physics);
}

std::optional<GraphConversion> MakeGraphConversion(const GraphInputs& inputs) {
  const std::optional<MoistureUnit> from = MoistureUnitFromIndex(inputs.FromUnit);
  const std::optional<MoistureUnit> to = MoistureUnitFromIndex(inputs.ToUnit);
  if (!from || !to) return std::nullopt;
  GraphConversion c;
  c.From = *from;
  c.To = *to;
  c.FromSide = UnitParamsOf(inputs.Settings.From);
  c.ToSide = UnitParamsOf(inputs.Settings.To);
  c.Physics = ChoosePhysics(inputs.Settings, inputs.FromUnit, inputs.ToUnit);
  c.MeasuredPressureMbar = inputs.MeasuredPressureMbar;
  return c;
}

std::vector<CurvePressures> IsobarPressures(GraphIsobars isobars, float measuredMbar,
                                            float computeMbar) {
  if (isobars == GraphIsobars::None) return {};
  CurvePressures p{measuredMbar, computeMbar};
  float& doubled = isobars == GraphIsobars::AtMeasured ? p.P1Mbar : p.P2Mbar;
  std::vector<CurvePressures> passes;
  for (int pass = 0; pass < 2; ++pass) {
    doubled *= 2;
    passes.push_back(p);
  }
  return passes;
}

std::optional<float> CurveValue(double y, AxisRange yRange) {
  if (!std::isfinite(y) || IsOutOfRange(y)) return yRange.Min;
  if (y > static_cast<double>(yRange.Max)) return std::nullopt;
  if (y < static_cast<double>(yRange.Min)) return yRange.Min;
  return HoldSingle(y);
}

float MarkerValue(double y, AxisRange yRange) {
  return CurveValue(y, yRange).value_or(yRange.Max);
}

std::vector<PixelPoint> SampleCurve(const PlotGeometry& geometry, const GraphConversion& convert,
                                    CurvePressures pressures) {
  std::vector<PixelPoint> points;
  if (!std::isfinite(pressures.P1Mbar) || !std::isfinite(pressures.P2Mbar)) return points;
  points.reserve(static_cast<std::size_t>(geometry.Nx));
  float x = geometry.X.Min;
  for (int i = 0; i < geometry.Nx; ++i) {
    const std::optional<float> y =
        CurveValue(convert(x, pressures.P1Mbar, pressures.P2Mbar), geometry.Y);
    if (!y) break;
    const std::optional<int> px = ColumnOf(geometry, x);
    const std::optional<int> py = RowOf(geometry, *y);
    // A valid geometry maps every x of the plot area and every clamped y to a pixel.
    if (!px || !py) break;
    points.push_back({*px, *py});
    x += geometry.XPerPixel;
  }
  return points;
}

namespace {

bool IsAmountUnit(MoistureUnit unit) {
  return kMoistureUnits[static_cast<std::size_t>(unit)].IsAmount != 0;
}

void PlaceGrid(GraphPlan& plan) {
  const int gx = (plan.Width - kPlotMarginLeft - kPlotMarginRight) / 5;
  const int gy = (plan.Height - kPlotMarginTop - kPlotMarginBottom) / 5;
  for (std::size_t k = 0; k < 6; ++k) {
    const int step = static_cast<int>(k);
    plan.GridRows[k] = plan.Height - kPlotMarginBottom - step * gy;
    plan.YLabelAt[k] = {5, plan.Height - 15 - step * gy};
    plan.GridColumns[k] = kPlotMarginLeft + step * gx;
    plan.XLabelAt[k] = {35 + step * gx, 2};
  }
}

}  // namespace

GraphPlan PlanMoistureGraph(const GraphInputs& inputs, int width, int height) {
  GraphPlan plan;
  plan.Width = width;
  plan.Height = height;
  plan.HasGrid = HasPlotArea(width, height);
  if (!plan.HasGrid) return plan;
  PlaceGrid(plan);

  const std::optional<GraphConversion> convert = MakeGraphConversion(inputs);
  if (!convert) return plan;
  const AxisRange defaultX = DefaultAxisRange(convert->From);
  const AxisRange defaultY = DefaultAxisRange(convert->To);
  const float pm = inputs.MeasuredPressureMbar;
  const float pc = inputs.ComputePressureMbar;
  const bool pressuresUsable = std::isfinite(pm) && std::isfinite(pc);

  if (inputs.ZoomHeld && pressuresUsable) {
    if (const std::optional<float> xmax =
            ZoomedXMax(defaultX, inputs.FromValue, IsAmountUnit(convert->From))) {
      const AxisRange x{defaultX.Min, *xmax};
      const AxisRange y{defaultY.Min, HoldSingle((*convert)(*xmax, pm, pc))};
      // An empty or reversed zoomed range (the From value at or below xmin, or a maximum
      // that has no answer) keeps the default ranges.
      if (!IsOutOfRange(y.Max)) plan.Geometry = MakePlotGeometry(width, height, x, y);
      plan.Zoomed = plan.Geometry.has_value();
    }
  }
  if (!plan.Geometry) plan.Geometry = MakePlotGeometry(width, height, defaultX, defaultY);
  if (!plan.Geometry) return plan;
  const PlotGeometry& g = *plan.Geometry;

  plan.XLabels = AxisLabels(GraphAxis::X, IsAmountUnit(convert->From), g.X);
  plan.YLabels = AxisLabels(GraphAxis::Y, IsAmountUnit(convert->To), g.Y);
  if (!pressuresUsable) return plan;

  plan.Curve = SampleCurve(g, *convert, {pm, pc});
  for (const CurvePressures& p : IsobarPressures(inputs.Isobars, pm, pc)) {
    plan.Isobars.push_back(SampleCurve(g, *convert, p));
  }

  const float v = HoldSingle(inputs.FromValue);
  if (std::isfinite(inputs.FromValue) && std::isfinite(v)) {
    const std::optional<int> px = ColumnOf(g, v);
    const std::optional<int> py = RowOf(g, MarkerValue((*convert)(inputs.FromValue, pm, pc), g.Y));
    if (px && py) plan.MarkerAt = GraphPlan::Marker{*px, *py};
  }
  return plan;
}

}  // namespace tavimor
