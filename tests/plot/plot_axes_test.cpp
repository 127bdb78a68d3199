#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "plot/plot_axes.h"

namespace tavimor {
namespace {

using Labels = std::array<std::string, 6>;

TEST(DefaultAxisRange, GivesTheRangeOfEveryUnit) {
  struct Case {
    MoistureUnit unit;
    float min;
    float max;
  };
  const Case cases[] = {
      {MoistureUnit::PartialPressure, 0, 123.4f}, {MoistureUnit::DewFrostPointC, -140, 50},
      {MoistureUnit::DewFrostPointF, -220, 122},  {MoistureUnit::DewPointC, -140, 50},
      {MoistureUnit::DewPointF, -220, 122},       {MoistureUnit::Ppmv, 0, 138670},
      {MoistureUnit::PpmwGas, 0, 138670},         {MoistureUnit::LbsPerMmscf, 0, 5812},
      {MoistureUnit::GramsPerM3, 0, 93},          {MoistureUnit::RelHumidity, 0, 100},
      {MoistureUnit::PpmwLiquid, 0, 1900},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.unit));
    EXPECT_EQ(DefaultAxisRange(c.unit), (AxisRange{c.min, c.max}));
  }
}

TEST(AxisLabels, MatchTheWorkedExamples) {
  struct Case {
    const char* name;
    GraphAxis axis;
    bool isAmount;
    AxisRange range;
    Labels expected;
  };
  const Case cases[] = {
      {"dew/frost point C on x",
       GraphAxis::X,
       false,
       {-140, 50},
       {"-140.0", "-102.0", "-64.0", "-26.0", "12.0", "50.0"}},
      {"ppmv on y, maximum at least 100",
       GraphAxis::Y,
       true,
       {0, 138670},
       {"0.0", "27734.0", "55468.0", "83202.0", "110936.0", "138670.0"}},
      {"g/m3 on y, step 18.6",
       GraphAxis::Y,
       true,
       {0, 93},
       {"0.00", "18.60", "37.20", "55.80", "74.40", "93.00"}},
      {"relative humidity, maximum exactly 100",
       GraphAxis::Y,
       true,
       {0, 100},
       {"0.0", "20.0", "40.0", "60.0", "80.0", "100.0"}},
      {"zoomed ppmv on x to 20",
       GraphAxis::X,
       true,
       {0, 20},
       {"0.00", "4.00", "8.00", "12.00", "16.00", "20.00"}},
      {"zoomed frost point C at -60",
       GraphAxis::X,
       false,
       {-140, -52},
       {"-140.0", "-122.4", "-104.8", "-87.2", "-69.6", "-52.0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AxisLabels(c.axis, c.isAmount, c.range), c.expected);
  }
}

TEST(LabelDecimals, FollowsTheStepWithNineDigitsOnlyOnY) {
  struct Case {
    const char* name;
    GraphAxis axis;
    bool isAmount;
    float max;
    float step;
    int decimals;
  };
  const Case cases[] = {
      {"dew point, tiny step", GraphAxis::Y, false, 0.5f, 1e-9f, 1},
      {"maximum 100", GraphAxis::Y, true, 100, 20, 1},
      {"step 0.02", GraphAxis::Y, true, 0.1f, 0.02f, 2},
      {"single 0.01 lies just below 0.01", GraphAxis::Y, true, 0.05f, 0.01f, 3},
      {"step 0.002", GraphAxis::X, true, 0.01f, 0.002f, 3},
      {"step 0.0002", GraphAxis::Y, true, 0.001f, 0.0002f, 4},
      {"step 0.00002", GraphAxis::Y, true, 0.0001f, 0.00002f, 5},
      {"step 0.000002", GraphAxis::X, true, 0.00001f, 0.000002f, 6},
      {"y below 0.000001", GraphAxis::Y, true, 0.0000005f, 0.0000001f, 9},
      {"x below 0.000001", GraphAxis::X, true, 0.0000005f, 0.0000001f, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LabelDecimals(c.axis, c.isAmount, c.max, c.step), c.decimals);
  }
}

TEST(LabelStep, IsAFifthInSinglePrecision) {
  EXPECT_EQ(LabelStep({0, 93}), 93 * 0.2f);
  EXPECT_EQ(LabelStep({-140, 50}), 38.0f);
}

TEST(ZoomedXMax, WidensTheFromValueByTheUnitKind) {
  struct Case {
    const char* name;
    AxisRange x;
    double v;
    bool isAmount;
    std::optional<float> xmax;
  };
  const Case cases[] = {
      {"ppmv 10 doubles", {0, 138670}, 10, true, 20.0f},
      {"frost point -60 by 1.1", {-140, 50}, -60, false, -52.0f},
      {"limited to the default maximum", {0, 138670}, 100000, true, 138670.0f},
      {"at the maximum keeps the defaults", {0, 93}, 93, true, std::nullopt},
      {"above the maximum keeps the defaults", {-140, 50}, 60, false, std::nullopt},
      {"not a number keeps the defaults", {0, 93}, NAN, true, std::nullopt},
      {"at the minimum gives an empty range", {0, 93}, 0, true, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ZoomedXMax(c.x, c.v, c.isAmount), c.xmax);
  }
}

}  // namespace
}  // namespace tavimor
