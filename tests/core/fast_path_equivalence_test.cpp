#include "reference/fast_path_equivalence.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "core/dew_point_grid.h"
#include "reference/reference_graph.h"

namespace tavimor {
namespace {

using equivalence::Family;

// Enough to cover every formula, factor, method and medium many times over in a few seconds
// of an optimised debug build; the full run (bench/equivalence) checks millions.
uint64_t CiConversions(Family family) {
  switch (family) {
    case Family::FromLbsPerMmscf:
    case Family::ToLbsPerMmscf:
    case Family::GramsPerM3:
      return 6000;  // the ASTM reference costs about 100 µs a conversion
    default:
      return 40000;
  }
}

TEST(FastPathEquivalence, EveryFamilyGivesTheReferenceBits) {
  for (Family family : equivalence::kFamilies) {
    SCOPED_TRACE(equivalence::FamilyName(family));
    equivalence::Checker checker(20240601 + static_cast<uint64_t>(family));
    const equivalence::Report report = checker.run(family, CiConversions(family));
    EXPECT_EQ(report.Mismatches, 0u) << report.First;
    EXPECT_GE(report.Checked, 2 * CiConversions(family));
  }
}

// More keys in turn than a thread keeps: every switch evicts a slot that is later filled
// again, and a value of one key must never answer for another.
TEST(FastPathEquivalence, KeysCyclingThroughMoreSlotsThanKeptStayExact) {
  struct Case {
    const char* name;
    SwvpFormula formula;
    EnhancementFactor factor;
  };
  const Case cases[] = {
      {"Goff-Gratch, Greenspan", SwvpFormula::GoffGratch, EnhancementFactor::Greenspan},
      {"Sonntag, Bogel", SwvpFormula::Sonntag, EnhancementFactor::Bogel},
      {"Magnus, none", SwvpFormula::Magnus, EnhancementFactor::NoEnhancement},
      {"Hyland-Wexler, Greenspan", SwvpFormula::HylandWexler, EnhancementFactor::Greenspan},
  };
  const double pressures[] = {1, 1013.25, 1013.2500000000001, 20000, 400000};
  for (int round = 0; round < 3; ++round) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      const PhysicsChoice physics{c.formula, c.factor, GasMethod::Astm};
      for (double p : pressures) {
        for (double pw = 1e-7; pw < 300; pw *= 1.37) {
          ASSERT_EQ(std::bit_cast<uint64_t>(DewPointFromPressure(pw, p, physics)),
                    std::bit_cast<uint64_t>(reference::DewPointFromPressure(pw, p, physics)))
              << "pw " << pw << " P " << p;
          ASSERT_EQ(std::bit_cast<uint64_t>(DewFrostPointFromPressure(pw, p, physics)),
                    std::bit_cast<uint64_t>(reference::DewFrostPointFromPressure(pw, p, physics)))
              << "pw " << pw << " P " << p;
        }
      }
    }
  }
  static_assert(std::size(pressures) * 2 > kGridSlots);
}

// A search at a pressure it has not seen decides most comparisons from an estimate with an
// error bound and must leave every tie to the exact value: x is the saturation value at a
// grid point's neighbour, or a few ulps off, under each formula, factor and operation, from
// pressures far below the partial pressure to far above, each call at a pressure of its own.
TEST(FastPathEquivalence, SearchesAtNewPressuresLeaveTiesToTheExactValue) {
  const SwvpFormula formulas[] = {SwvpFormula::GoffGratch, SwvpFormula::HylandWexler,
                                  SwvpFormula::Sonntag, SwvpFormula::Magnus};
  const EnhancementFactor factors[] = {EnhancementFactor::NoEnhancement,
                                       EnhancementFactor::Greenspan, EnhancementFactor::Bogel};
  const double pressures[] = {1e-3, 0.5, 1013.25, 37000, 400000, 1e9, 0, -5, INFINITY};
  std::mt19937_64 rng(24);
  uint64_t call = 0;
  for (SwvpFormula formula : formulas) {
    for (EnhancementFactor factor : factors) {
      const PhysicsChoice physics{formula, factor, GasMethod::IgtBulletin8};
      for (double base : pressures) {
        for (int k = 0; k < 300; ++k) {
          const double p = base * (1 + 1e-9 * static_cast<double>(++call));
          double a = -40;
          double step = 50;
          for (uint64_t level = rng() % 14; level > 0; --level, step *= 0.5) {
            a += (rng() & 1) ? step : -step;
          }
          const double t = (rng() & 1) ? a + 0.01 : a - 0.01;
          const bool water = rng() & 1;
          double x = water ? SaturationPressureWater(t, p, physics)
                           : SaturationPressureDewFrost(t, p, physics);
          for (int ulps = static_cast<int>(rng() % 5) - 2; ulps != 0; ulps += ulps < 0 ? 1 : -1) {
            x = std::nextafter(x, ulps < 0 ? -INFINITY : INFINITY);
          }
          const double fast = water ? DewPointFromPressure(x, p, physics)
                                    : DewFrostPointFromPressure(x, p, physics);
          const double literal = water ? reference::DewPointFromPressure(x, p, physics)
                                       : reference::DewFrostPointFromPressure(x, p, physics);
          ASSERT_EQ(std::bit_cast<uint64_t>(fast), std::bit_cast<uint64_t>(literal))
              << "formula " << static_cast<int>(formula) << " factor " << static_cast<int>(factor)
              << " P " << p << " t " << t << " x " << x;
        }
      }
    }
  }
}

// Near the top of the doubles the literal Bögel value overflows in P/E to infinity while its
// estimate stays finite: the estimate must not decide there (found by fuzz_fast_path).
TEST(FastPathEquivalence, SearchesWhereTheLiteralValueOverflowsStayExact) {
  struct Case {
    double xMbar;
    double pressureMbar;
  };
  const Case cases[] = {
      {0x1.58cb57fc5e26ap+1008, 0x1.d9d5d1cdc9c5bp+1022}, {1e300, 1e305}, {1e-300, 1e-305}};
  for (const Case& c : cases) {
    for (int formula = 1020; formula <= 1023; ++formula) {
      for (int factor = 1024; factor <= 1026; ++factor) {
        const PhysicsChoice physics{static_cast<SwvpFormula>(formula),
                                    static_cast<EnhancementFactor>(factor), GasMethod::Astm};
        SCOPED_TRACE(testing::Message() << "formula " << formula << " factor " << factor << " x "
                                        << c.xMbar << " P " << c.pressureMbar);
        EXPECT_EQ(std::bit_cast<uint64_t>(DewPointFromPressure(c.xMbar, c.pressureMbar, physics)),
                  std::bit_cast<uint64_t>(
                      reference::DewPointFromPressure(c.xMbar, c.pressureMbar, physics)));
        EXPECT_EQ(
            std::bit_cast<uint64_t>(DewFrostPointFromPressure(c.xMbar, c.pressureMbar, physics)),
            std::bit_cast<uint64_t>(
                reference::DewFrostPointFromPressure(c.xMbar, c.pressureMbar, physics)));
      }
    }
  }
}

// The command converts on two threads at once; each thread has its own caches.
TEST(FastPathEquivalence, TwoThreadsConvertingAtOnceStayExact) {
  equivalence::Report reports[2];
  std::thread other(
      [&] { reports[1] = equivalence::Checker(7).run(Family::ToDewFrostPoint, 20000); });
  reports[0] = equivalence::Checker(8).run(Family::ToDewPoint, 20000);
  other.join();
  for (const equivalence::Report& r : reports) EXPECT_EQ(r.Mismatches, 0u) << r.First;
}

// The graph's points come from the fast conversions: every curve and isobar point and the
// marker must be where the literal algorithms put them, also on the second paint, which
// runs on warm caches.
TEST(FastPathEquivalence, GraphPointsMatchTheReferenceSampling) {
  using U = MoistureUnit;
  struct Case {
    const char* name;
    U from;
    U to;
    double fromValue;
    GraphIsobars isobars;
    GasMethod method;
    EnhancementFactor factor;
    float measuredMbar;
  };
  const Case cases[] = {
      {"lb/MMSCF ASTM to dew point F", U::LbsPerMmscf, U::DewPointF, 100, GraphIsobars::AtMeasured,
       GasMethod::Astm, EnhancementFactor::NoEnhancement, 1013.25f},
      {"g/m3 natural gas to dew/frost point", U::GramsPerM3, U::DewFrostPointC, 5,
       GraphIsobars::AtMeasured, GasMethod::Astm, EnhancementFactor::NoEnhancement, 1013.25f},
      {"dew/frost point to ppmv", U::DewFrostPointC, U::Ppmv, -20, GraphIsobars::AtComputeAt,
       GasMethod::IgtBulletin8, EnhancementFactor::Greenspan, 1013.25f},
      {"ppmv to dew point, Bogel, computed isobars", U::Ppmv, U::DewPointC, 5000,
       GraphIsobars::AtComputeAt, GasMethod::IgtBulletin8, EnhancementFactor::Bogel, 3000.5f},
      {"dew point to lb/MMSCF ASTM at high pressure", U::DewPointC, U::LbsPerMmscf, -20,
       GraphIsobars::AtMeasured, GasMethod::Astm, EnhancementFactor::NoEnhancement, 70000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GraphInputs in;
    in.FromUnit = static_cast<int>(c.from);
    in.ToUnit = static_cast<int>(c.to);
    in.FromValue = c.fromValue;
    in.Isobars = c.isobars;
    in.MeasuredPressureMbar = c.measuredMbar;
    in.Settings.GasMethod = c.method;
    in.Settings.EnhancementFactor = c.factor;
    in.Settings.From.DensityMedium = DensityMedium::NaturalGas;
    in.Settings.To.DensityMedium = DensityMedium::NaturalGas;
    const reference::GraphCurves expected = reference::SampleGraph(in, 350, 250);
    ASSERT_FALSE(expected.Curve.empty());
    for (int paint = 0; paint < 2; ++paint) {
      const GraphPlan plan = PlanMoistureGraph(in, 350, 250);
      EXPECT_EQ(plan.Curve, expected.Curve);
      EXPECT_EQ(plan.Isobars, expected.Isobars);
      ASSERT_TRUE(plan.Geometry && plan.MarkerAt);
      EXPECT_EQ(RowOf(*plan.Geometry, expected.MarkerValue), plan.MarkerAt->Row);
    }
  }
}

}  // namespace
}  // namespace tavimor
