#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/conversion_hub.h"
#include "core/single_precision.h"
#include "plot/plot_graph.h"

namespace tavimor {
namespace {

constexpr int kW = 350;  // graph control 233 x 111 dialog units at 6 x 13 base units
constexpr int kH = 180;

GraphInputs Inputs(MoistureUnit from, MoistureUnit to, double v) {
  GraphInputs in;
  in.FromUnit = static_cast<int>(from);
  in.ToUnit = static_cast<int>(to);
  in.FromValue = v;
  return in;
}

TEST(PlotGeometry, MapsTheAxisEndsOntoThePlotAreaEdgesForEveryUnit) {
  for (int u = 0; u < kMoistureUnitCount; ++u) {
    SCOPED_TRACE(u);
    const AxisRange r = DefaultAxisRange(static_cast<MoistureUnit>(u));
    const std::optional<PlotGeometry> g = MakePlotGeometry(kW, kH, r, r);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->Nx, 275);
    EXPECT_EQ(g->Ny, 155);
    EXPECT_EQ(ColumnOf(*g, r.Min), 50);
    EXPECT_EQ(ColumnOf(*g, r.Max), kW - 25);
    EXPECT_EQ(RowOf(*g, r.Min), kH - 10);
    EXPECT_EQ(RowOf(*g, r.Max), 15);
  }
}

TEST(PlotGeometry, RefusesRangesThatCannotBeScaled) {
  struct Case {
    const char* name;
    int w;
    int h;
    AxisRange x;
    AxisRange y;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {"zero-width x", kW, kH, {5, 5}, {0, 1}},
      {"reversed x", kW, kH, {5, 4}, {0, 1}},
      {"reversed y", kW, kH, {0, 1}, {0, -10000}},
      {"infinite y maximum", kW, kH, {0, 1}, {0, inf}},
      {"overflowing width", kW, kH, {-3e38f, 3e38f}, {0, 1}},
      {"NaN minimum", kW, kH, {NAN, 1}, {0, 1}},
      {"no plot columns", 75, kH, {0, 1}, {0, 1}},
      {"no plot rows", kW, 25, {0, 1}, {0, 1}},
      {"negative size", -5, -5, {0, 1}, {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(MakePlotGeometry(c.w, c.h, c.x, c.y).has_value());
  }
}

TEST(PlotGeometry, NeverTurnsANonFiniteOrHugeValueIntoAnArbitraryPixel) {
  const AxisRange r{0, 100};
  const PlotGeometry g = *MakePlotGeometry(kW, kH, r, r);
  EXPECT_FALSE(ColumnOf(g, NAN).has_value());
  EXPECT_FALSE(RowOf(g, std::numeric_limits<float>::infinity()).has_value());
  EXPECT_EQ(ColumnOf(g, 1e30f), kPixelLimit);
  EXPECT_EQ(ColumnOf(g, -1e30f), -kPixelLimit);
  EXPECT_EQ(ColumnOf(g, -0.1f), 49);  // truncated toward zero from 49.7
}

TEST(CurveValue, ClampsBelowStopsAboveAndPutsFailuresOnTheBottomLine) {
  const AxisRange r{-140, 50};
  struct Case {
    const char* name;
    double y;
    std::optional<float> curve;
    float marker;
  };
  const Case cases[] = {
      {"inside", 12.5, 12.5f, 12.5f},
      {"below", -150, -140.0f, -140.0f},
      {"out of range", OutOfRange, -140.0f, -140.0f},
      {"not a number", NAN, -140.0f, -140.0f},
      {"infinite", INFINITY, -140.0f, -140.0f},
      {"at the top", 50, 50.0f, 50.0f},
      {"above the top", 50.01, std::nullopt, 50.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CurveValue(c.y, r), c.curve);
    EXPECT_EQ(MarkerValue(c.y, r), c.marker);
  }
}

TEST(IsobarPressures, DoubleTheChosenPressureTwice) {
  struct Case {
    const char* name;
    GraphIsobars isobars;
    std::vector<CurvePressures> passes;
  };
  const Case cases[] = {
      {"measured", GraphIsobars::AtMeasured, {{2000, 700}, {4000, 700}}},
      {"no isobars", GraphIsobars::None, {}},
      {"computed", GraphIsobars::AtComputeAt, {{1000, 1400}, {1000, 2800}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsobarPressures(c.isobars, 1000, 700), c.passes);
  }
}

TEST(GraphConversion, StopsAtAFailedFirstHalf) {
  GraphInputs in = Inputs(MoistureUnit::LbsPerMmscf, MoistureUnit::PartialPressure, 0);
  const GraphConversion convert = *MakeGraphConversion(in);
  // -10000 ppmv fed to the second half would come out as a negative partial pressure.
  EXPECT_EQ(convert(1e7, 1013.25, 1013.25), OutOfRange);
}

TEST(GraphConversion, UsesTheMeasuredPressureAsSecondPressureOfTheToSide) {
  GraphInputs in = Inputs(MoistureUnit::Ppmv, MoistureUnit::GramsPerM3, 0);
  in.Settings.To.DensityMedium = DensityMedium::AirMixture;
  in.MeasuredPressureMbar = 1013.25f;
  const GraphConversion convert = *MakeGraphConversion(in);
  const PhysicsChoice physics = ChoosePhysics(in.Settings, in.FromUnit, in.ToUnit);
  const double expected = PpmvToMoisture(MoistureUnit::GramsPerM3, 1000, 4053,
                                         UnitParamsOf(in.Settings.To), 1013.25, physics);
  EXPECT_EQ(convert(1000, 4053, 4053), expected);
}

TEST(SampleCurve, TakesOneSamplePerColumnAndEndsAboveTheTop) {
  // Dew point over water against %RH at 20 °C: the curve leaves the top near 20 °C.
  const GraphInputs in = Inputs(MoistureUnit::DewPointC, MoistureUnit::RelHumidity, 0);
  const GraphConversion convert = *MakeGraphConversion(in);
  const PlotGeometry g = *MakePlotGeometry(kW, kH, DefaultAxisRange(MoistureUnit::DewPointC),
                                           DefaultAxisRange(MoistureUnit::RelHumidity));
  const std::vector<PixelPoint> curve = SampleCurve(g, convert, {1013.25f, 1013.25f});
  ASSERT_GT(curve.size(), 100u);
  ASSERT_LT(curve.size(), 275u);
  float x = g.X.Min;
  for (std::size_t i = 0; i < curve.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(curve[i].X, ColumnOf(g, x));
    EXPECT_GE(curve[i].Y, 15);
    EXPECT_LE(curve[i].Y, kH - 10);
    x += g.XPerPixel;
  }
  EXPECT_GT(convert(x, 1013.25, 1013.25), 100.0);  // the first sample not drawn
  EXPECT_GT(x, 19.0f);
  EXPECT_LT(x, 21.0f);
}

TEST(SampleCurve, PutsUnconvertibleSamplesOnTheBottomLine) {
  // 0 %RH has no dew point: the search fails and the curve starts on the bottom line.
  const GraphInputs in = Inputs(MoistureUnit::RelHumidity, MoistureUnit::DewPointC, 0);
  const GraphConversion convert = *MakeGraphConversion(in);
  ASSERT_EQ(convert(0, 1013.25, 1013.25), OutOfRange);
  const PlotGeometry g = *MakePlotGeometry(kW, kH, DefaultAxisRange(MoistureUnit::RelHumidity),
                                           DefaultAxisRange(MoistureUnit::DewPointC));
  const std::vector<PixelPoint> curve = SampleCurve(g, convert, {1013.25f, 1013.25f});
  ASSERT_EQ(curve.size(), 275u);
  EXPECT_EQ(curve.front(), (PixelPoint{50, kH - 10}));
  EXPECT_EQ(curve.back().X, kW - 26);
}

TEST(PlanMoistureGraph, DrawsTheDefaultStateWithLabelsCurveAndMarker) {
  GraphInputs in = Inputs(MoistureUnit::DewFrostPointC, MoistureUnit::Ppmv, -20);
  const GraphPlan plan = PlanMoistureGraph(in, kW, kH);
  ASSERT_TRUE(plan.Geometry.has_value());
  EXPECT_FALSE(plan.Zoomed);
  EXPECT_EQ(plan.GridRows, (std::array<int, 6>{170, 139, 108, 77, 46, 15}));
  EXPECT_EQ(plan.GridColumns, (std::array<int, 6>{50, 105, 160, 215, 270, 325}));
  EXPECT_EQ(plan.YLabelAt[5], (PixelPoint{5, 10}));
  EXPECT_EQ(plan.XLabelAt[1], (PixelPoint{90, 2}));
  EXPECT_EQ(plan.XLabels[1], "-102.0");
  EXPECT_EQ(plan.YLabels[5], "138670.0");
  EXPECT_TRUE(plan.Isobars.empty());
  ASSERT_TRUE(plan.MarkerAt.has_value());
  EXPECT_EQ(plan.MarkerAt->Column, *ColumnOf(*plan.Geometry, -20));
  // 1018 ppmv is 1.14 rows of 894.6 ppmv above the bottom line.
  EXPECT_EQ(plan.MarkerAt->Row, kH - 12);
}

TEST(PlanMoistureGraph, ZoomsPpmvIntoPartialPressure) {
  GraphInputs in = Inputs(MoistureUnit::Ppmv, MoistureUnit::PartialPressure, 10);
  in.ZoomHeld = true;
  const GraphPlan plan = PlanMoistureGraph(in, kW, kH);
  ASSERT_TRUE(plan.Zoomed);
  EXPECT_EQ(plan.Geometry->X, (AxisRange{0, 20}));
  const float ymax = HoldSingle(PressureFromPpmv(20, 1013.25));
  EXPECT_EQ(plan.Geometry->Y, (AxisRange{0, ymax}));
  EXPECT_EQ(plan.XLabels,
            (std::array<std::string, 6>{"0.00", "4.00", "8.00", "12.00", "16.00", "20.00"}));
  EXPECT_EQ(plan.YLabels[0], "0.000");
  EXPECT_EQ(plan.YLabels[5], "0.020");
  // The marker sits halfway along x and never above the top row.
  EXPECT_EQ(plan.MarkerAt->Column, 50 + 275 / 2);
  EXPECT_GE(plan.MarkerAt->Row, 15);
}

TEST(PlanMoistureGraph, DrawsBothIsobarsOnlyWhenChosen) {
  for (const GraphIsobars isobars :
       {GraphIsobars::AtMeasured, GraphIsobars::None, GraphIsobars::AtComputeAt}) {
    SCOPED_TRACE(static_cast<int>(isobars));
    GraphInputs in = Inputs(MoistureUnit::DewFrostPointC, MoistureUnit::Ppmv, 0);
    in.Isobars = isobars;
    const GraphPlan plan = PlanMoistureGraph(in, kW, kH);
    EXPECT_EQ(plan.Isobars.size(), isobars == GraphIsobars::None ? 0u : 2u);
    for (const auto& isobar : plan.Isobars) EXPECT_FALSE(isobar.empty());
  }
}

TEST(PlanMoistureGraph, NeverFailsOnHostileInputs) {
  struct Case {
    const char* name;
    GraphInputs in;
    int w = kW;
    int h = kH;
    bool grid = true;
    bool axes = true;
    bool curve = true;
    bool marker = true;
  };
  auto with = [](GraphInputs in, auto change) {
    change(in);
    return in;
  };
  const GraphInputs base = Inputs(MoistureUnit::Ppmv, MoistureUnit::DewFrostPointC, 0);
  const Case cases[] = {
      {"zoom at the x minimum", with(base, [](GraphInputs& i) { i.ZoomHeld = true; })},
      {"zoom below the x minimum",
       with(base, [](GraphInputs& i) { i.ZoomHeld = true, i.FromValue = -5; })},
      {"NaN From value", with(base, [](GraphInputs& i) { i.FromValue = NAN; }), kW, kH, true, true,
       true, false},
      {"infinite From value", with(base, [](GraphInputs& i) { i.FromValue = INFINITY; }), kW, kH,
       true, true, true, false},
      {"From value beyond single precision",
       with(base, [](GraphInputs& i) { i.FromValue = 1e300; }), kW, kH, true, true, true, false},
      {"From value 1e30", with(base, [](GraphInputs& i) { i.FromValue = 1e30; })},
      {"zoomed NaN", with(base, [](GraphInputs& i) { i.ZoomHeld = true, i.FromValue = NAN; }), kW,
       kH, true, true, true, false},
      {"pressure 0", with(base, [](GraphInputs& i) { i.MeasuredPressureMbar = 0; })},
      {"zoomed with pressure 0",
       with(base, [](GraphInputs& i) { i.MeasuredPressureMbar = 0, i.ZoomHeld = true; })},
      {"pressure list without a row",
       with(base, [](GraphInputs& i) { i.ComputePressureMbar = NAN; }), kW, kH, true, true, false,
       false},
      {"From list without a row", with(base, [](GraphInputs& i) { i.FromUnit = -1; }), kW, kH, true,
       false, false, false},
      {"To list with a bad row", with(base, [](GraphInputs& i) { i.ToUnit = 11; }), kW, kH, true,
       false, false, false},
      {"control too small", base, 60, 20, false, false, false, false},
      {"empty control", base, 0, 0, false, false, false, false},
      {"one plot column", base, 76, kH},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GraphPlan plan = PlanMoistureGraph(c.in, c.w, c.h);
    EXPECT_EQ(plan.HasGrid, c.grid);
    EXPECT_EQ(plan.Geometry.has_value(), c.axes);
    EXPECT_FALSE(plan.Zoomed);
    EXPECT_EQ(!plan.Curve.empty(), c.curve);
    EXPECT_EQ(plan.MarkerAt.has_value(), c.marker);
    for (const PixelPoint& p : plan.Curve) {
      EXPECT_GE(p.Y, 15);
      EXPECT_LE(p.Y, c.h - 10);
    }
    if (plan.MarkerAt) {
      EXPECT_GE(plan.MarkerAt->Row, 15);
      EXPECT_LE(plan.MarkerAt->Row, c.h - 10);
    }
    if (plan.Geometry) {
      EXPECT_EQ(plan.Geometry->X, DefaultAxisRange(MoistureUnit::Ppmv));
      for (const std::string& label : plan.YLabels) EXPECT_FALSE(label.empty());
    }
  }
}

TEST(PlanMoistureGraph, PutsEveryPointOnTheBottomLineAtPressureZero) {
  GraphInputs in = Inputs(MoistureUnit::DewFrostPointC, MoistureUnit::Ppmv, -20);
  in.MeasuredPressureMbar = 0;
  in.Isobars = GraphIsobars::AtMeasured;  // 2 x 0 and 4 x 0 stay 0
  const GraphPlan plan = PlanMoistureGraph(in, kW, kH);
  ASSERT_EQ(plan.Curve.size(), 275u);
  for (const auto& line : {plan.Curve, plan.Isobars.at(0), plan.Isobars.at(1)}) {
    EXPECT_TRUE(
        std::all_of(line.begin(), line.end(), [](const PixelPoint& p) { return p.Y == kH - 10; }));
  }
  EXPECT_EQ(plan.MarkerAt->Row, kH - 10);
}

}  // namespace
}  // namespace tavimor
