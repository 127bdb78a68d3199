#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/conversion_hub.h"
#include "core/moisture_conversion.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core_test_support.h"
#include "reference/reference.h"

namespace tavimor {
namespace {

using test::kGoffGratch;
using test::kStandardMbar;
using U = MoistureUnit;

UnitParams AirSide() {
  UnitParams side;
  side.DensityMedium = DensityMedium::AirMixture;
  return side;
}

std::string Eight(double v) {
  return v == OutOfRange ? "OutOfRange" : FormatSignificant(v, 8);
}

// Expected values: the program's defining worked examples, computed with these same formulas;
// they pin the intended behaviour to the last digit but are no independent check of the physics.
TEST(MoistureToPpmv, MatchesReferenceForEveryFromUnit) {
  struct Case {
    U unit;
    double value;
    const char* ppmv;
  };
  const Case cases[] = {
      {U::DewPointC, 20, "23596.998"},       {U::DewPointF, 68, "23596.998"},
      {U::DewFrostPointC, -20, "1018.2992"}, {U::DewFrostPointF, -4, "1018.2992"},
      {U::PartialPressure, 10, "9967.6053"}, {U::PpmwGas, 1000, "1611.1111"},
      {U::RelHumidity, 50, "11660.918"},     {U::PpmwLiquid, 100, "54789.267"},
      {U::GramsPerM3, 10, "13513.186"},      {U::Ppmv, 123.5, "123.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.unit));
    EXPECT_EQ(Eight(MoistureToPpmv(c.unit, c.value, kStandardMbar, AirSide(), kGoffGratch)),
              c.ppmv);
  }
}

// Expected values: the program's defining worked examples, computed with these same formulas;
// they pin the intended behaviour to the last digit but are no independent check of the physics.
TEST(PpmvToMoisture, MatchesReferenceForEveryToUnit) {
  struct Case {
    U unit;
    const char* result;
  };
  const Case cases[] = {
      {U::PartialPressure, "23.358468"}, {U::DewFrostPointC, "20.01"},
      {U::DewPointC, "20.01"},           {U::DewFrostPointF, "68.018"},
      {U::DewPointF, "68.018"},          {U::Ppmv, "23596.998"},
      {U::PpmwGas, "14646.412"},         {U::LbsPerMmscf, "1100.7133"},
      {U::GramsPerM3, "17.290175"},      {U::RelHumidity, "100."},
      {U::PpmwLiquid, "44.38109"},
  };
  const double ppmv = MoistureToPpmv(U::DewPointC, 20, kStandardMbar, AirSide(), kGoffGratch);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.unit));
    const double r =
        PpmvToMoisture(c.unit, ppmv, kStandardMbar, AirSide(), kStandardMbar, kGoffGratch);
    EXPECT_EQ(Eight(r), c.result);
  }
}

TEST(PpmvToMoisture, MovesBetweenPressures) {
  const double ppmv = MoistureToPpmv(U::DewPointC, 20, kStandardMbar, AirSide(), kGoffGratch);
  EXPECT_EQ(FormatSignificant(PpmvToMoisture(U::PartialPressure, ppmv, 2026.5, AirSide(),
                                             kStandardMbar, kGoffGratch),
                              6),
            "46.7169");
  EXPECT_EQ(
      FormatFixed(PpmvToMoisture(U::DewPointC, ppmv, 2026.5, AirSide(), kStandardMbar, kGoffGratch),
                  2),
      "31.70");
}

TEST(Conversion, ReportsOutOfRangeWhenASearchFails) {
  const double ppmv250 = PpmvFromPressure(250, kStandardMbar);
  EXPECT_EQ(
      PpmvToMoisture(U::DewPointF, ppmv250, kStandardMbar, AirSide(), kStandardMbar, kGoffGratch),
      OutOfRange);
  EXPECT_EQ(PpmvToMoisture(U::DewFrostPointF, ppmv250, kStandardMbar, AirSide(), kStandardMbar,
                           kGoffGratch),
            OutOfRange);
  EXPECT_EQ(MoistureToPpmv(U::LbsPerMmscf, 1e7, kStandardMbar, AirSide(), kGoffGratch), OutOfRange);
  UnitParams gas = AirSide();
  gas.DensityMedium = DensityMedium::NaturalGas;
  EXPECT_EQ(MoistureToPpmv(U::GramsPerM3, 1e7, kStandardMbar, gas, kGoffGratch), OutOfRange);
}

// 10^6 pw / (P - pw) is no mole ratio once the water vapour would make up the whole pressure
// (or is negative): the fast path and the literal algorithm both give out of range, and so the
// panel, the command, the graph and the spread, which all convert through them.
TEST(MoistureToPpmv, WaterVapourAtOrAboveTheTotalPressureIsOutOfRange) {
  UnitParams hot = AirSide();
  hot.AmbientTempC = 150;  // an accepted ambient temperature
  UnitParams vapour = AirSide();
  vapour.DensityMedium = DensityMedium::PureVapor;
  struct Case {
    const char* name;
    U unit;
    double value;
    double pressureMbar;
    UnitParams side;
  };
  const Case cases[] = {
      {"51 mbar of vapour at 50 mbar", U::PartialPressure, 51, 50, AirSide()},
      {"vapour equal to the total pressure", U::PartialPressure, 50, 50, AirSide()},
      {"a frost point of 20 °C at 5 mbar", U::DewFrostPointC, 20, 5, AirSide()},
      {"50 %RH at 150 °C", U::RelHumidity, 50, kStandardMbar, hot},
      {"a negative %RH", U::RelHumidity, -10, kStandardMbar, AirSide()},
      {"10 g/m³ of pure vapour", U::GramsPerM3, 10, kStandardMbar, vapour},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MoistureToPpmv(c.unit, c.value, c.pressureMbar, c.side, kGoffGratch), OutOfRange);
    EXPECT_EQ(reference::MoistureToPpmv(c.unit, c.value, c.pressureMbar, c.side, kGoffGratch),
              OutOfRange);
  }
  EXPECT_EQ(Eight(MoistureToPpmv(U::PartialPressure, 49.99, 50, AirSide(), kGoffGratch)),
            "4.999e+009");
  MoistureInputs panel;
  panel.FromUnit = panel.FromListSelection = 0;
  panel.ToListSelection = 5;
  panel.FromValue = 51;
  panel.MeasuredPressure = panel.ComputePressure = 50;
  EXPECT_EQ(ComputeMoistureResults(panel, CalcSettings{}).ResultText, kOutOfRangeText);
}

// Bad input never yields a number that is not finite: no "nan" or "inf" can reach a text.
TEST(Conversion, HostileInputsGiveOutOfRangeOrAFiniteNumber) {
  const double values[] = {0, -1, 1e-300, 1e300, NAN, INFINITY, -INFINITY, -273.15, -300, -243.12};
  const double pressures[] = {0, -1013.25, 1e-300, NAN, INFINITY, 1013.25, 400000};
  for (int f = 1020; f <= 1023; ++f) {
    for (int e = 1024; e <= 1026; ++e) {
      const PhysicsChoice physics =
          test::Physics(static_cast<SwvpFormula>(f), static_cast<EnhancementFactor>(e),
                        e == 1026 ? GasMethod::Astm : GasMethod::IgtBulletin8);
      for (int from = 0; from < kMoistureUnitCount; ++from) {
        for (double v : values) {
          for (double p : pressures) {
            const double ppmv = MoistureToPpmv(static_cast<U>(from), v, p, AirSide(), physics);
            ASSERT_TRUE(ppmv == OutOfRange || std::isfinite(ppmv)) << from << " " << v << " " << p;
            if (p <= 0 || !std::isfinite(p)) {
              EXPECT_EQ(ppmv, OutOfRange);
            }
            const U to = static_cast<U>((from * 7 + 3) % kMoistureUnitCount);
            const double r = PpmvToMoisture(to, v, p, AirSide(), p, physics);
            ASSERT_TRUE(r == OutOfRange || std::isfinite(r));
          }
        }
      }
    }
  }
}

// Converting to ppmv and back to the same unit lands within one grid step of the search.
TEST(Conversion, RoundTripAgreesWithinOneGridStep) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> temp(-100, 55);
  for (int i = 0; i < 2000; ++i) {
    const double t = std::round(temp(rng) * 100) / 100;
    for (U unit : {U::DewPointC, U::DewFrostPointC}) {
      const double ppmv = MoistureToPpmv(unit, t, kStandardMbar, AirSide(), kGoffGratch);
      const double back =
          PpmvToMoisture(unit, ppmv, kStandardMbar, AirSide(), kStandardMbar, kGoffGratch);
      ASSERT_NE(back, OutOfRange) << t;
      ASSERT_NEAR(back, t, 0.0100001) << t;
    }
  }
}

}  // namespace
}  // namespace tavimor
