#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/moisture_format.h"
#include "core/random_normal.h"
#include "core/single_precision.h"
#include "core/uncertainty.h"

namespace tavimor {
namespace {

using U = MoistureUnit;

UncertaintyRequest Request(U from, U to, float value, double expanded, bool relative,
                           float measuredMbar) {
  UncertaintyRequest r;
  r.Inputs.FromValue = value;
  r.Inputs.FromUnit = r.Inputs.FromListSelection = static_cast<int>(from);
  r.Inputs.ToListSelection = static_cast<int>(to);
  r.Inputs.MeasuredPressure = r.Inputs.ComputePressure = measuredMbar;
  r.FromExpanded = expanded;
  r.FromRelative = relative;
  r.ComputeAtMeasured = true;
  return r;
}

// The panel's result for the From value x (held as typed), everything else as requested.
float PanelResult(const UncertaintyRequest& r, const CalcSettings& settings, double x) {
  MoistureInputs inputs = r.Inputs;
  inputs.FromValue = HoldSingle(x);
  const MoistureResults results = ComputeMoistureResults(inputs, settings);
  EXPECT_TRUE(results.ResultValid) << "at " << x;
  return results.Result;
}

PressureUncertainty Percent(double expanded) {
  return {expanded, true, {}};
}

PressureUncertainty In(double expanded, PressureUnit unit) {
  return {expanded, false, static_cast<int>(unit)};
}

uint64_t Bits(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

// One uncertain input through a monotonic conversion: the 95 % interval is the panel's
// conversion of the ends of the input's 95 % interval, x ± 1.96 u, to the bit; and the Monte
// Carlo interval lies within the image of x ± (1.96 ± 0.04) u, where 0.04 u is about five
// standard errors of a 2.5 % quantile of 10^5 trials (sqrt(0.025 × 0.975 / 10^5) / 0.0584 =
// 0.0085). The first row is the example the feature was asked with: −60 °C is 10.65 ppmv.
TEST(UncertaintyPropagation, IntervalOfOneInputIsTheImageOfTheInputsInterval) {
  struct Case {
    const char* name;
    U from;
    U to;
    float value;
    double expanded;  // at k = 2
    bool relative;
    float pressureMbar;
    DensityMedium toMedium;
  };
  const DensityMedium gas = DensityMedium::NaturalGas;
  const Case cases[] = {
      {"frost point to ppmv", U::DewFrostPointC, U::Ppmv, -60, 2, false, 1013.25f, gas},
      {"ppmv to frost point: the search", U::Ppmv, U::DewFrostPointC, 10.65f, 20, true, 1013.25f,
       gas},
      {"relative humidity to dew point in °F", U::RelHumidity, U::DewPointF, 50, 4, false, 3000,
       gas},
      {"lb/MMSCF to dew point: the content search", U::LbsPerMmscf, U::DewPointC, 7, 10, true,
       30000, gas},
      {"ppmv to density of pure vapour: falling", U::Ppmv, U::GramsPerM3, 20000, 10, true, 1013.25f,
       DensityMedium::PureVapor},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const UncertaintyRequest r =
        Request(c.from, c.to, c.value, c.expanded, c.relative, c.pressureMbar);
    CalcSettings settings;
    settings.To.DensityMedium = c.toMedium;
    const UncertaintyResult result = PropagateUncertainty(r, settings);
    ASSERT_TRUE(result.Valid);
    EXPECT_FALSE(result.ReachesOutOfRange);
    EXPECT_EQ(result.Method, IntervalMethod::ExactImage);

    const double x = c.value;
    const double u = (c.relative ? x / 100 : 1.0) * c.expanded / 2;
    auto image = [&](double z, double& low, double& high) {
      const double a = PanelResult(r, settings, x - z * u);
      const double b = PanelResult(r, settings, x + z * u);
      low = std::min(a, b);
      high = std::max(a, b);
    };
    double low = 0;
    double high = 0;
    image(kCoverageZ, low, high);
    EXPECT_EQ(result.Estimate, PanelResult(r, settings, x));
    EXPECT_EQ(result.Low, low);
    EXPECT_EQ(result.High, high);
    double innerLow = 0;
    double innerHigh = 0;
    double outerLow = 0;
    double outerHigh = 0;
    image(kCoverageZ - 0.04, innerLow, innerHigh);
    image(kCoverageZ + 0.04, outerLow, outerHigh);
    EXPECT_GE(result.MonteCarloLow, outerLow);
    EXPECT_LE(result.MonteCarloLow, innerLow);
    EXPECT_GE(result.MonteCarloHigh, innerHigh);
    EXPECT_LE(result.MonteCarloHigh, outerHigh);
  }
}

// The worked examples of the README and the manual, with the numbers they print (the
// standard uncertainties and contributions to four significant digits). The tariff example:
// an analyzer reads a water dew point of −2 °C ± 2 °C (k = 2) at a line pressure of
// 800 psig ± 1 %; the tariff allows 7 lb/MMSCF. The reading complies, its interval does not.
// Under the natural-gas override every formula choice gives the same result, so there the
// formula adds nothing.
TEST(UncertaintyPropagation, WorksTheExamplesOut) {
  struct Case {
    const char* name;
    U from;
    U to;
    float value;
    float pressure;
    PressureUnit unit;
    double pressurePercent;
    bool formula;
    const char* estimate;  // as the result field shows them
    const char* low;
    const char* high;
    IntervalMethod method;
    double standard;
    double fromShare;  // the contributions of the From value, the pressure, the formula
    double pressureShare;
    double formulaShare;
  };
  const auto mbar = PressureUnit::Mbar;
  const auto exact = IntervalMethod::ExactImage;
  const auto trials = IntervalMethod::MonteCarlo;
  const Case cases[] = {
      {"frost point", U::DewFrostPointC, U::Ppmv, -60, 1013.25f, mbar, 0, false, "10.65", "8.149",
       "13.85", exact, 1.462, 1.444, 0, 0},
      {"frost point, formula: the estimate is the middle of its spread", U::DewFrostPointC, U::Ppmv,
       -60, 1013.25f, mbar, 0, true, "10.64", "8.149", "13.86", trials, 1.464, 1.444, 0, 0.06255},
      {"the tariff example", U::DewPointC, U::LbsPerMmscf, -2, 800, PressureUnit::Psig, 1, true,
       "6.918", "6.091", "7.857", trials, 0.4523, 0.4496, -0.02187, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UncertaintyRequest r = Request(c.from, c.to, c.value, 2, false, c.pressure);
    r.Inputs.MeasuredPressureUnit = static_cast<int>(c.unit);
    r.Measured = Percent(c.pressurePercent);
    r.IncludeFormula = c.formula;
    const UncertaintyResult result = PropagateUncertainty(r, CalcSettings{});
    ASSERT_TRUE(result.Valid);
    EXPECT_FALSE(result.ReachesOutOfRange);
    EXPECT_EQ(FormatMoistureValue(c.to, static_cast<float>(result.Estimate)), c.estimate);
    EXPECT_EQ(FormatMoistureValue(c.to, static_cast<float>(result.Low)), c.low);
    EXPECT_EQ(FormatMoistureValue(c.to, static_cast<float>(result.High)), c.high);
    EXPECT_EQ(result.Method, c.method);
    EXPECT_NEAR(result.StandardUncertainty, c.standard, 5e-4 * c.standard);
    const double shares[] = {c.fromShare, c.pressureShare, 0, c.formulaShare};
    for (std::size_t i = 0; i < kUncertaintySourceCount; ++i) {
      EXPECT_NEAR(result.Contributions[i].Value, shares[i], 5e-4 * std::fabs(shares[i])) << i;
    }
  }
}

// Where the conversion is nearly linear over the inputs' spread, the Monte Carlo standard
// uncertainty agrees with the law of propagation (finite differences): within 2 %, ten times
// the relative standard error of a standard deviation from 10^5 trials (1 / sqrt(2 × 10^5)).
// The pressure uncertainties are given in units of their own, so the rows also check that a
// difference of pressures converts by the units' factors alone.
TEST(UncertaintyPropagation, MonteCarloAgreesWithLinearPropagationOnSmallUncertainties) {
  struct Case {
    const char* name;
    U from;
    U to;
    float value;
    double expanded;
    bool relative;
    float measured;
    PressureUnit measuredUnit;
    PressureUncertainty measuredU;
    float compute;  // 0: compute at the measured pressure
    PressureUncertainty computeU;
    bool formula;
    double measuredStandardMbar;  // expected u of the measured pressure, mbar
  };
  const auto psig = PressureUnit::Psig;
  const auto mbar = PressureUnit::Mbar;
  const PressureUncertainty none;
  const Case cases[] = {
      {"frost point to ppmv", U::DewFrostPointC, U::Ppmv, -60, 0.4, false, 1013.25f, mbar, none, 0,
       none, false, 0},
      {"the same with the formula's spread", U::DewFrostPointC, U::Ppmv, -60, 0.4, false, 1013.25f,
       mbar, none, 0, none, true, 0},
      {"dew point to lb/MMSCF at 800 psig, pressure in kPa", U::DewPointC, U::LbsPerMmscf, -2, 0.4,
       false, 800, psig, In(10, PressureUnit::Kpa), 0, none, false, 50},
      {"ppmv to dew point, measured and compute-at pressures", U::Ppmv, U::DewPointC, 100, 2, true,
       20000, mbar, Percent(1), 10000, In(2, PressureUnit::Psia), false, 100},
      {"relative humidity to ppmv, pressure in psi of a psig field", U::RelHumidity, U::Ppmv, 50, 1,
       false, 100, psig, In(1, PressureUnit::Psia), 0, none, false, 0.5 / 0.0145038f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UncertaintyRequest r = Request(c.from, c.to, c.value, c.expanded, c.relative, c.measured);
    r.Inputs.MeasuredPressureUnit = static_cast<int>(c.measuredUnit);
    r.Measured = c.measuredU;
    if (c.compute != 0) {
      r.ComputeAtMeasured = false;
      r.Inputs.ComputePressure = c.compute;
      r.Inputs.ComputePressureUnit = static_cast<int>(mbar);
      r.ComputeAt = c.computeU;
    }
    r.IncludeFormula = c.formula;
    const UncertaintyResult result = PropagateUncertainty(r, CalcSettings{});
    ASSERT_TRUE(result.Valid);
    EXPECT_FALSE(result.ReachesOutOfRange);
    ASSERT_GT(result.LinearStandardUncertainty, 0);
    EXPECT_NEAR(result.StandardUncertainty / result.LinearStandardUncertainty, 1, 0.02);
    const double halfWidth = (result.High - result.Low) / 2;
    EXPECT_NEAR(halfWidth / (kCoverageZ * result.LinearStandardUncertainty), 1, 0.03);
    for (const UncertaintyContribution& contribution : result.Contributions) {
      EXPECT_EQ(contribution.Valid, contribution.Present);
    }
    const auto& measured =
        result.Contributions[static_cast<std::size_t>(UncertaintySource::MeasuredPressure)];
    EXPECT_EQ(measured.Present, c.measuredStandardMbar > 0);
    if (measured.Present) {
      EXPECT_NEAR(measured.StandardUncertainty / c.measuredStandardMbar, 1, 1e-6);
    }
  }
}

// The same request gives the same bits, and the generator gives the same bits on every
// platform: its first draws are pinned here (xoshiro256** from SplitMix64, and Wichura's
// quantiles as Python's statistics.NormalDist computes them with the same algorithm), so a
// build whose libraries would change them fails.
TEST(UncertaintyPropagation, RepeatsBitForBitWithItsSeed) {
  UncertaintyRequest r = Request(U::DewPointC, U::LbsPerMmscf, -2, 2, false, 800);
  r.Inputs.MeasuredPressureUnit = static_cast<int>(PressureUnit::Psig);
  r.Measured = Percent(1);
  r.IncludeFormula = true;
  const UncertaintyResult a = PropagateUncertainty(r, CalcSettings{});
  const UncertaintyResult b = PropagateUncertainty(r, CalcSettings{});
  const double aValues[] = {a.Estimate, a.Mean, a.StandardUncertainty, a.Low, a.High};
  const double bValues[] = {b.Estimate, b.Mean, b.StandardUncertainty, b.Low, b.High};
  for (std::size_t i = 0; i < std::size(aValues); ++i) {
    EXPECT_EQ(Bits(aValues[i]), Bits(bValues[i])) << i;
  }
  r.Seed = kUncertaintySeed + 1;
  const UncertaintyResult other = PropagateUncertainty(r, CalcSettings{});
  EXPECT_NE(Bits(other.StandardUncertainty), Bits(a.StandardUncertainty));
  EXPECT_EQ(Bits(other.Estimate), Bits(a.Estimate));

  struct Draw {
    uint64_t stream;
    uint64_t first;
    uint64_t second;
  };
  const Draw draws[] = {
      {0, 0xfe19944a02adde06, 0x20d1a45faefa7592},
      {3, 0xf27a12aa195fd371, 0x87135ba048321537},
  };
  for (const Draw& d : draws) {
    RandomStream stream(kUncertaintySeed, d.stream);
    EXPECT_EQ(stream.next(), d.first) << d.stream;
    EXPECT_EQ(stream.next(), d.second) << d.stream;
  }
  struct Quantile {
    double p;
    double z;
  };
  const Quantile quantiles[] = {
      {0x1p-53, -8.209536151601386}, {1e-10, -6.361340902404056},      {0.001, -3.090232306167813},
      {0.025, -1.9599639845400538},  {0.3, -0.5244005127080407},       {0.5, 0},
      {0.975, 1.9599639845400536},   {1 - 0x1p-53, 8.209536151601386},
  };
  for (const Quantile& q : quantiles) EXPECT_EQ(Bits(NormalQuantile(q.p)), Bits(q.z)) << q.p;

  // The bulk path gives the same bits: the quantiles above, the ends of the central region,
  // the far tails where the tail formula changes (r > 5), p outside (0, 1); and a stream's
  // deviates drawn in blocks of any size.
  std::vector<double> p = {
      0.075, 0.925, 0.07500000000000001, 1e-11, 1e-12, 1 - 1e-12, 0x1p-1074, 0, 1, -1, NAN};
  for (const Quantile& q : quantiles) p.push_back(q.p);
  std::vector<double> z(p.size());
  NormalQuantiles(p.data(), z.data(), p.size());
  for (std::size_t i = 0; i < p.size(); ++i) {
    const double one = NormalQuantile(p[i]);
    EXPECT_TRUE(Bits(z[i]) == Bits(one) || (std::isnan(z[i]) && std::isnan(one))) << p[i];
  }
  RandomStream oneByOne(kUncertaintySeed, 2);
  RandomStream inBulk(kUncertaintySeed, 2);
  std::vector<double> deviates(100000);
  for (std::size_t start = 0, size = 1; start < deviates.size(); start += size, size += 97) {
    inBulk.normals(deviates.data() + start, std::min(size, deviates.size() - start));
  }
  std::size_t differing = 0;
  for (const double d : deviates) differing += Bits(d) != Bits(oneByOne.normal()) ? 1 : 0;
  EXPECT_EQ(differing, 0u);
}

// A distribution that reaches outside the From unit's range, or whose results have no answer
// in part, is said to: the statistics are of the trials that answer and the share of the
// others is counted, never silently clipped. The expected shares are the normal
// distribution's beyond the limit (15.9 % at 1 u, 2.3 % at 2 u), within 1 %.
TEST(UncertaintyPropagation, SaysWhenTheDistributionReachesOutOfRange) {
  struct Case {
    const char* name;
    U from;
    U to;
    float value;
    double expanded;
    double share;  // expected share of trials without an answer
  };
  const Case cases[] = {
      {"frost point 1 u above the range's -140 °C", U::DewFrostPointC, U::Ppmv, -139, 2, 0.159},
      {"ppmv 2 u above 0", U::Ppmv, U::DewFrostPointC, 1, 1, 0.023},
      {"dew point 1 u below where the search ends", U::DewPointC, U::DewPointF, 59, 2, 0.159},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const UncertaintyRequest r = Request(c.from, c.to, c.value, c.expanded, false, 1013.25f);
    const UncertaintyResult result = PropagateUncertainty(r, CalcSettings{});
    ASSERT_TRUE(result.Valid);
    EXPECT_TRUE(result.ReachesOutOfRange);
    EXPECT_TRUE(result.HasInterval);
    EXPECT_EQ(result.Method, IntervalMethod::MonteCarlo);
    const double share =
        static_cast<double>(result.SamplesWithoutAnswer) / static_cast<double>(result.Samples);
    EXPECT_NEAR(share, c.share, 0.01);
  }
}

// Requests that cannot be propagated are refused with a message, and an estimate that is
// refused or has no answer gives no result, whatever the uncertainties.
TEST(UncertaintyPropagation, RefusesWhatItCannotPropagate) {
  struct Case {
    const char* name;
    void (*change)(UncertaintyRequest&);
    const char* message;  // nullptr: no message, but no result either
  };
  const Case cases[] = {
      {"coverage factor 0", [](UncertaintyRequest& r) { r.CoverageFactor = 0; },
       "the coverage factor must be a number above 0"},
      {"coverage factor NaN", [](UncertaintyRequest& r) { r.CoverageFactor = NAN; },
       "the coverage factor must be a number above 0"},
      {"negative uncertainty", [](UncertaintyRequest& r) { r.FromExpanded = -1; },
       "an uncertainty must be a number of 0 or more"},
      {"infinite pressure uncertainty",
       [](UncertaintyRequest& r) { r.ComputeAt.Expanded = INFINITY; },
       "an uncertainty must be a number of 0 or more"},
      {"pressure unit 7",
       [](UncertaintyRequest& r) {
         r.Measured = {1, false, 7};
       },
       "unknown pressure unit of an uncertainty"},
      {"no trials", [](UncertaintyRequest& r) { r.Samples = 0; },
       "the number of trials must be between 100 and 10000000"},
      {"From value outside its range", [](UncertaintyRequest& r) { r.Inputs.FromValue = -150; },
       nullptr},
      {"From value NaN", [](UncertaintyRequest& r) { r.Inputs.FromValue = NAN; }, nullptr},
      {"pressure 0", [](UncertaintyRequest& r) { r.Inputs.MeasuredPressure = 0; }, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UncertaintyRequest r = Request(U::DewFrostPointC, U::Ppmv, -60, 2, false, 1013.25f);
    r.Measured = Percent(1);
    c.change(r);
    const auto message = UncertaintyRequestMessage(r);
    EXPECT_EQ(message.has_value(), c.message != nullptr);
    if (message && c.message) {
      EXPECT_EQ(*message, c.message);
    }
    EXPECT_FALSE(PropagateUncertainty(r, CalcSettings{}).Valid);
  }
}

}  // namespace
}  // namespace tavimor
