#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/calc_settings.h"
#include "core/graph_inputs.h"
#include "core/saturation.h"
#include "plot/plot_geometry.h"

namespace tavimor {

// convert(x, P1, P2) of one paint: the From unit to ppmv at P1, then ppmv to the To unit at
// P2, with the measured pressure as the second pressure of the To side.
struct GraphConversion {
  MoistureUnit From = MoistureUnit::DewFrostPointC;
  MoistureUnit To = MoistureUnit::DewFrostPointC;
  UnitParams FromSide;
  UnitParams ToSide;
  PhysicsChoice Physics;
  double MeasuredPressureMbar = 1013.25;

  // OutOfRange when either half has no answer; a failed first half never reaches the second.
  double operator()(double x, double p1Mbar, double p2Mbar) const;
};

// Nothing when a unit list has no selection.
std::optional<GraphConversion> MakeGraphConversion(const GraphInputs& inputs);

// The pressures (P1, P2) of the two isobar passes, 2x then 4x one of them; none for
// "no isobars".
struct CurvePressures {
  float P1Mbar = 0;
  float P2Mbar = 0;
  friend bool operator==(const CurvePressures&, const CurvePressures&) = default;
};
std::vector<CurvePressures> IsobarPressures(GraphIsobars isobars, float measuredMbar,
                                            float computeMbar);

struct PixelPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A converted curve value as plotted: the bottom of the axis for anything below it,
// OutOfRange or not finite; nothing above the top, where the curve ends.
std::optional<float> CurveValue(double y, AxisRange yRange);

// The marker's value: like CurveValue, but a value above the top is held at the top.
float MarkerValue(double y, AxisRange yRange);

// One sample per pixel column from xmin on, x accumulated in single precision, ending at the
// first sample above ymax. Empty when a pressure is not finite.
std::vector<PixelPoint> SampleCurve(const PlotGeometry& geometry, const GraphConversion& convert,
                                    CurvePressures pressures);

// Everything one paint draws, in bitmap pixels.
struct GraphPlan {
  int Width = 0;
  int Height = 0;
  bool HasGrid = false;                  // the plot area is not empty: six grid lines each way
  std::array<int, 6> GridRows{};         // horizontal lines from column 50 to W - 25, bottom up
  std::array<int, 6> GridColumns{};      // vertical lines from row 15 to H - 10, left to right
  std::array<PixelPoint, 6> YLabelAt{};  // top-left corners of the labels
  std::array<PixelPoint, 6> XLabelAt{};
  std::optional<PlotGeometry> Geometry;  // set when both units have an axis
  bool Zoomed = false;                   // the zoomed ranges are in force
  std::array<std::string, 6> XLabels;
  std::array<std::string, 6> YLabels;
  std::vector<PixelPoint> Curve;
  std::vector<std::vector<PixelPoint>> Isobars;
  struct Marker {
    int Column = 0;
    int Row = 0;
  };
  std::optional<Marker> MarkerAt;  // none for a From value that is not finite
};

// The whole graph for a bitmap of width x height pixels. Never fails: without a unit there
// is only the grid, without a usable pressure no curve or marker, and a zoom whose range
// would be empty or reversed draws the default ranges.
GraphPlan PlanMoistureGraph(const GraphInputs& inputs, int width, int height);

}  // namespace tavimor
