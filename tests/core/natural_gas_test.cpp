#include <gtest/gtest.h>

#include <cmath>

#include "core/natural_gas.h"
#include "core/number_text.h"
#include "core_test_support.h"

namespace tavimor {
namespace {

using test::kStandardMbar;
using test::Physics;

const PhysicsChoice kIgt = Physics(SwvpFormula::GoffGratch);
const PhysicsChoice kAstm =
    Physics(SwvpFormula::GoffGratch, EnhancementFactor::NoEnhancement, GasMethod::Astm);

std::string Six(double v) {
  return v == OutOfRange ? "OutOfRange" : FormatSignificant(v, 6);
}

// Expected values: the program's defining worked examples, computed with these same formulas;
// they pin the intended behaviour to the last digit but are no independent check of the physics.
TEST(GasWaterContent, MatchesReferenceTableAtStandardPressure) {
  struct Case {
    double pw;
    const char* igt;
    const char* astm;
    const char* densityNaturalGas;
  };
  const Case cases[] = {
      {0.01, "0.499197", "1.43627", "7.99637e-003"},
      {1.0, "47.6497", "47.6499", "0.763275"},
      {10.0, "472.238", "473.431", "7.56452"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pw);
    EXPECT_EQ(Six(GasWaterContent(c.pw, kStandardMbar, kIgt)), c.igt);
    EXPECT_EQ(Six(GasWaterContent(c.pw, kStandardMbar, kAstm)), c.astm);
    EXPECT_EQ(Six(VaporDensity(c.pw, kStandardMbar, 20, DensityMedium::NaturalGas, kIgt)),
              c.densityNaturalGas);
  }
}

// Expected values: the program's defining worked examples, computed with these same formulas;
// they pin the intended behaviour to the last digit but are no independent check of the physics.
TEST(VaporDensity, MatchesReferenceForAirAndPureVapour) {
  struct Case {
    double pw;
    DensityMedium medium;
    const char* expected;
  };
  const Case cases[] = {
      {1.0, DensityMedium::AirMixture, "0.74021"},
      {10.0, DensityMedium::AirMixture, "7.4021"},
      {1.0, DensityMedium::PureVapor, "1202.34"},
      {10.0, DensityMedium::PureVapor, "1198.31"},
      {10.0, static_cast<DensityMedium>(999), "1198.31"},  // any other medium is pure vapour
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(Six(VaporDensity(c.pw, kStandardMbar, 20, c.medium, kIgt)), c.expected);
    const double back = PressureFromVaporDensity(
        VaporDensity(c.pw, kStandardMbar, 20, c.medium, kIgt), kStandardMbar, 20, c.medium, kIgt);
    EXPECT_NEAR(back, c.pw, 1e-9);
  }
}

TEST(GasWaterContent, FallsWithRisingTotalPressure) {
  EXPECT_EQ(Six(GasWaterContent(10, 5000, kIgt)), "98.6817");
  EXPECT_EQ(Six(GasWaterContent(10, 5000, kAstm)), "98.9885");
}

TEST(GasWaterContent, AstmIsOutOfRangeWhenTheDewPointIsOutOfReach) {
  EXPECT_EQ(GasWaterContent(300, kStandardMbar, kAstm), OutOfRange);
}

TEST(PressureFromGasWaterContent, InvertsTheContent) {
  struct Case {
    const char* name;
    double w;
    const PhysicsChoice& physics;
    int digits;
    const char* expected;
  };
  const Case cases[] = {
      {"IGT there and back", 472.238, kIgt, 7, "9.999998"},
      {"IGT zero: the trial below zero is not a number and counts as accepted", 0.0, kIgt, 7, "0."},
      {"ASTM agrees only to within one step of its staircase", 473.431, kAstm, 5, "10.011"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(
        FormatSignificant(PressureFromGasWaterContent(c.w, kStandardMbar, c.physics), c.digits),
        c.expected);
  }
  EXPECT_EQ(PressureFromGasWaterContent(1e7, kStandardMbar, kIgt), OutOfRange);
}

TEST(PressureFromGasWaterContent, EndsForHostileInputs) {
  for (double w : {double(NAN), double(INFINITY), -double(INFINITY), -1.0, 1e300}) {
    for (double p : {0.0, -5.0, 395587.5, 1e6, double(NAN)}) {
      const double pw = PressureFromGasWaterContent(w, p, kAstm);
      (void)pw;  // the search must return: 29 steps at most
    }
  }
  SUCCEED();
}

}  // namespace
}  // namespace tavimor
