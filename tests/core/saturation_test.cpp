#include <gtest/gtest.h>

#include <string>

#include "core/number_text.h"
#include "core_test_support.h"

namespace tavimor {
namespace {

using test::kStandardMbar;
using test::Physics;

// Saturation pressures at 1013.25 mbar, no enhancement, six significant figures.
// Expected values: the program's defining worked examples, computed with these same formulas;
// they pin the intended behaviour to the last digit but are no independent check of the physics.
// Published reference values are compared in the formula accuracy tests.
TEST(SaturationPressure, MatchesReferenceTableForEveryFormula) {
  struct Case {
    SwvpFormula formula;
    const char* water[4];     // -20, 0, 20, 50 °C
    const char* dewFrost[2];  // -20, -40 °C
  };
  const Case cases[] = {
      {SwvpFormula::GoffGratch,
       {"1.25292", "6.10336", "23.3585", "123.334"},
       {"1.03074", "0.128178"}},
      {SwvpFormula::HylandWexler,
       {"1.0326", "6.11213", "23.388", "123.499"},
       {"1.0326", "0.128452"}},
      {SwvpFormula::Sonntag, {"1.25587", "6.11213", "23.3925", "123.527"}, {"1.03239", "0.12837"}},
      {SwvpFormula::Magnus, {"1.25965", "6.112", "23.326", "123.452"}, {"1.02956", "0.127604"}},
  };
  const double waterT[] = {-20, 0, 20, 50};
  const double dewFrostT[] = {-20, -40};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.formula));
    const PhysicsChoice physics = Physics(c.formula);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(FormatSignificant(SaturationPressureWater(waterT[i], kStandardMbar, physics), 6),
                c.water[i])
          << "water at " << waterT[i];
    }
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(
          FormatSignificant(SaturationPressureDewFrost(dewFrostT[i], kStandardMbar, physics), 6),
          c.dewFrost[i])
          << "dew/frost at " << dewFrostT[i];
    }
  }
}

TEST(SaturationPressure, BothOperationsAgreeAtZeroAndDifferBelowExceptHylandWexler) {
  const double P = kStandardMbar;
  for (SwvpFormula f : {SwvpFormula::GoffGratch, SwvpFormula::HylandWexler, SwvpFormula::Sonntag,
                        SwvpFormula::Magnus}) {
    SCOPED_TRACE(static_cast<int>(f));
    const PhysicsChoice physics = Physics(f);
    EXPECT_EQ(SaturationPressureWater(0, P, physics), SaturationPressureDewFrost(0, P, physics));
    const bool agreeBelow =
        SaturationPressureWater(-20, P, physics) == SaturationPressureDewFrost(-20, P, physics);
    EXPECT_EQ(agreeBelow, f == SwvpFormula::HylandWexler);
  }
}

TEST(SaturationPressure, UnknownFormulaCountsAsMagnus) {
  const PhysicsChoice odd{static_cast<SwvpFormula>(4711), EnhancementFactor::NoEnhancement,
                          GasMethod::IgtBulletin8};
  EXPECT_EQ(SaturationPressureWater(20, kStandardMbar, odd),
            SaturationPressureWater(20, kStandardMbar, Physics(SwvpFormula::Magnus)));
}

// Ratios e'/e under Goff-Gratch at 1013.25 mbar.
// Expected values: the program's defining worked examples, computed with these same formulas;
// they pin the intended behaviour to the last digit but are no independent check of the physics.
TEST(EnhancementFactor, MatchesReferenceRatios) {
  struct Case {
    EnhancementFactor factor;
    bool dewFrost;
    double t;
    const char* ratio;
  };
  const Case cases[] = {
      {EnhancementFactor::Greenspan, false, 20, "1.003994"},
      {EnhancementFactor::Greenspan, false, 0, "1.003867"},
      {EnhancementFactor::Greenspan, false, -20, "1.004209"},
      {EnhancementFactor::Greenspan, true, -20, "1.004238"},
      {EnhancementFactor::Bogel, false, 20, "1.004501"},
      {EnhancementFactor::Bogel, false, 0, "1.004405"},
      {EnhancementFactor::Bogel, false, -20, "1.004775"},
      {EnhancementFactor::Bogel, true, -20, "1.004827"},
  };
  const PhysicsChoice plain = Physics(SwvpFormula::GoffGratch);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ratio);
    const PhysicsChoice enhanced = Physics(SwvpFormula::GoffGratch, c.factor);
    const auto op = c.dewFrost ? SaturationPressureDewFrost : SaturationPressureWater;
    EXPECT_EQ(
        FormatSignificant(op(c.t, kStandardMbar, enhanced) / op(c.t, kStandardMbar, plain), 7),
        c.ratio);
  }
}

TEST(SaturationPressure, IncreasesWithTemperatureForEveryChoice) {
  for (int f = 1020; f <= 1023; ++f) {
    for (int e = 1024; e <= 1026; ++e) {
      const PhysicsChoice physics =
          Physics(static_cast<SwvpFormula>(f), static_cast<EnhancementFactor>(e));
      // The enhancement correlations are fitted above about -80 °C; far below it their
      // P/e term explodes, so the sweep with a factor starts there.
      double lastWater = 0, lastIce = 0;
      for (double t = e == 1024 ? -140 : -80; t <= 60; t += 0.37) {
        const double w = SaturationPressureWater(t, kStandardMbar, physics);
        const double i = SaturationPressureDewFrost(t, kStandardMbar, physics);
        ASSERT_GT(w, lastWater) << f << " " << e << " t=" << t;
        ASSERT_GT(i, lastIce) << f << " " << e << " t=" << t;
        lastWater = w;
        lastIce = i;
      }
    }
  }
}

TEST(NaturalGasOverride, SwitchesOnExactlyInItsFourCases) {
  struct Case {
    int from, to;
    DensityMedium fromMedium, toMedium;
    bool expected;
  };
  using M = DensityMedium;
  const Case cases[] = {
      {7, 1, M::AirMixture, M::AirMixture, true},   // From lb/MMSCF
      {1, 7, M::AirMixture, M::AirMixture, true},   // To lb/MMSCF
      {8, 1, M::NaturalGas, M::AirMixture, true},   // From g/m³ natural gas
      {1, 8, M::AirMixture, M::NaturalGas, true},   // To g/m³ natural gas
      {8, 1, M::AirMixture, M::NaturalGas, false},  // the To medium does not count for From
      {1, 8, M::NaturalGas, M::PureVapor, false},  {8, 8, M::PureVapor, M::AirMixture, false},
      {1, 5, M::NaturalGas, M::NaturalGas, false}, {-1, -1, M::NaturalGas, M::NaturalGas, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + "->" + std::to_string(c.to));
    CalcSettings settings;
    settings.SwvpFormula = SwvpFormula::Sonntag;
    settings.EnhancementFactor = EnhancementFactor::Greenspan;
    settings.From.DensityMedium = c.fromMedium;
    settings.To.DensityMedium = c.toMedium;
    EXPECT_EQ(NaturalGasOverride(settings, c.from, c.to), c.expected);
    const PhysicsChoice physics = ChoosePhysics(settings, c.from, c.to);
    EXPECT_EQ(physics.SwvpFormula, c.expected ? SwvpFormula::GoffGratch : SwvpFormula::Sonntag);
    EXPECT_EQ(physics.EnhancementFactor,
              c.expected ? EnhancementFactor::NoEnhancement : EnhancementFactor::Greenspan);
  }
}

TEST(NaturalGasOverride, GivesPlainGoffGratchWithSonntagAndGreenspanSelected) {
  CalcSettings settings;
  settings.SwvpFormula = SwvpFormula::Sonntag;
  settings.EnhancementFactor = EnhancementFactor::Greenspan;
  const PhysicsChoice physics = ChoosePhysics(settings, 1, 7);
  EXPECT_EQ(FormatSignificant(SaturationPressureWater(0, kStandardMbar, physics), 6), "6.10336");
  EXPECT_EQ(FormatSignificant(SaturationPressureDewFrost(0, kStandardMbar, physics), 6), "6.10336");
}

}  // namespace
}  // namespace tavimor
