#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/dew_point.h"
#include "core/number_text.h"
#include "core_test_support.h"

namespace tavimor {
namespace {

using test::kGoffGratch;
using test::kStandardMbar;
using test::Physics;

std::string Text(double v) {
  return v == OutOfRange ? "OutOfRange" : FormatFixed(v, 2);
}

// Expected values: the program's defining worked examples, computed with these same formulas;
// they pin the intended behaviour to the last digit but are no independent check of the physics.
TEST(DewPointSearch, MatchesReferenceTable) {
  struct Case {
    const char* name;
    double x;
    const char* dewPoint;
    const char* dewFrostPoint;
  };
  const double at20 = SaturationPressureWater(20, kStandardMbar, kGoffGratch);
  const double at0 = SaturationPressureWater(0, kStandardMbar, kGoffGratch);
  const Case cases[] = {
      {"saturation at 20 °C", at20, "20.01", "20.01"},
      {"saturation at 0 °C", at0, "-0.01", "-0.01"},
      {"1 mbar", 1.0, "-22.59", "-20.32"},
      {"0.1 mbar", 0.1, "-45.96", "-42.17"},
      {"1e-06 mbar", 1e-06, "-112.39", "-112.05"},
      {"199 mbar", 199.0, "59.98", "59.98"},
      {"199.5 mbar", 199.5, "OutOfRange", "OutOfRange"},
      {"zero", 0.0, "OutOfRange", "OutOfRange"},
      {"negative", -3.0, "OutOfRange", "OutOfRange"},
      {"NaN", NAN, "OutOfRange", "OutOfRange"},
      {"infinite", INFINITY, "OutOfRange", "OutOfRange"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Text(DewPointFromPressure(c.x, kStandardMbar, kGoffGratch)), c.dewPoint);
    EXPECT_EQ(Text(DewFrostPointFromPressure(c.x, kStandardMbar, kGoffGratch)), c.dewFrostPoint);
  }
}

TEST(DewPointSearch, DependsOnTotalPressureOnlyWithAnEnhancementFactor) {
  struct Case {
    EnhancementFactor factor;
    double pressure;
    const char* expected;
  };
  const Case cases[] = {
      {EnhancementFactor::Greenspan, 1013.25, "6.94"},
      {EnhancementFactor::Greenspan, 10000, "6.51"},
      {EnhancementFactor::NoEnhancement, 1013.25, "7.00"},
      {EnhancementFactor::NoEnhancement, 10000, "7.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressure);
    const PhysicsChoice physics = Physics(SwvpFormula::GoffGratch, c.factor);
    EXPECT_EQ(Text(DewPointFromPressure(10, c.pressure, physics)), c.expected);
  }
}

TEST(DewPointSearch, ReturnsMultipleOfOneHundredthOrOutOfRange) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> logX(-9, 3);
  for (int i = 0; i < 3000; ++i) {
    const double x = std::pow(10.0, logX(rng));
    for (int f = 1020; f <= 1023; ++f) {
      const PhysicsChoice physics =
          Physics(static_cast<SwvpFormula>(f), static_cast<EnhancementFactor>(1024 + i % 3));
      for (double t :
           {DewPointFromPressure(x, 2000, physics), DewFrostPointFromPressure(x, 2000, physics)}) {
        if (t == OutOfRange) continue;
        ASSERT_GE(t, -140.0);
        ASSERT_LE(t, 60.0);
        const double hundredths = t * 100;
        ASSERT_NEAR(hundredths, std::round(hundredths), 1e-6) << x;
      }
    }
  }
}

TEST(RoundToPowerOfTen, RoundsHalvesUpwards) {
  struct Case {
    double v;
    int n;
    double expected;
  };
  const Case cases[] = {
      {1013.254, -2, 1013.25}, {14.69594, -3, 14.696}, {-2.5, 0, -2}, {2.5, 0, 3},
      {-12.3456, -2, -12.35},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_NEAR(RoundToPowerOfTen(c.v, c.n), c.expected, 1e-9);
  }
}

}  // namespace
}  // namespace tavimor
