#include "core/uncertainty.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "core/formula_spread.h"
#include "core/random_normal.h"
#include "core/single_precision.h"

namespace tavimor {

namespace {

bool IsUncertainty(double expanded) {
  return std::isfinite(expanded) && expanded >= 0;
}

bool IsTemperatureUnit(int unit) {
  return unit >= static_cast<int>(MoistureUnit::DewFrostPointC) &&
         unit <= static_cast<int>(MoistureUnit::DewPointF);
}

bool IsFahrenheitUnit(int unit) {
  return unit == static_cast<int>(MoistureUnit::DewFrostPointF) ||
         unit == static_cast<int>(MoistureUnit::DewPointF);
}

double PerMbar(int pressureUnit) {
  return static_cast<double>(kPressureUnits[static_cast<std::size_t>(pressureUnit)].PerMbar);
}

// The result moves in steps of the dew-point search's 0.01 °C grid: a dew or frost point, or
// a natural-gas content under ASTM, which is computed from one.
bool ResultOnDewPointGrid(const MoistureInputs& inputs, const CalcSettings& settings) {
  if (IsTemperatureUnit(inputs.ToListSelection)) return true;
  return settings.GasMethod != GasMethod::IgtBulletin8 &&
         NaturalGasOverride(settings, inputs.FromListSelection, inputs.ToListSelection);
}

// The conversion of one trial, as the panel makes it for those field contents.
class TrialConversion {
 public:
  TrialConversion(const MoistureInputs& inputs, const CalcSettings& settings)
      : m_inputs(inputs),
        m_settings(settings),
        m_physics(ChoosePhysics(settings, inputs.FromListSelection, inputs.ToListSelection)),
        m_atEstimatePressures(inputs, settings, m_physics),
        m_taken([&] {
          // FromValueRangeMessage's test, looked up once.
          const int unit = inputs.FromListSelection;
          if (unit < 0 || unit >= kMoistureUnitCount) return FromRange{-INFINITY, INFINITY, {}};
          return kMoistureUnits[static_cast<std::size_t>(unit)].Range.value_or(
              FromRange{-INFINITY, INFINITY, {}});
        }()) {}

  // The held result, or nothing where the panel refuses the From value or shows "out of
  // range".
  std::optional<float> at(float fromValue) const {
    return answer(m_atEstimatePressures, fromValue);
  }
  // at(x) for a block of From values, NaN where it gives nothing: the column path, which
  // gives the value-by-value results to the bit, at a fraction of their time.
  void atEach(std::span<const float> fromValues, std::span<double> wide, std::span<uint8_t> outside,
              std::span<double> results) const {
    std::copy(fromValues.begin(), fromValues.end(), wide.begin());
    m_atEstimatePressures.convertColumn(wide, results, outside);
    for (std::size_t j = 0; j < fromValues.size(); ++j) {
      if (!(fromValues[j] >= m_taken.Low && fromValues[j] <= m_taken.High)) results[j] = NAN;
    }
  }
  int fromUnit() const { return m_inputs.FromUnit; }
  std::optional<float> at(float fromValue, float measured, float compute) const {
    MoistureInputs inputs = m_inputs;
    inputs.MeasuredPressure = measured;
    inputs.ComputePressure = compute;
    return answer(MoistureConversion(inputs, m_settings, m_physics), fromValue);
  }

 private:
  std::optional<float> answer(const MoistureConversion& conversion, float fromValue) const {
    if (!(fromValue >= m_taken.Low && fromValue <= m_taken.High)) return std::nullopt;
    const MoistureValues v = conversion.values(fromValue);
    if (!v.ResultValid) return std::nullopt;
    return v.Result;
  }

  MoistureInputs m_inputs;
  const CalcSettings& m_settings;
  PhysicsChoice m_physics;
  MoistureConversion m_atEstimatePressures;
  FromRange m_taken;  // the From values the panel takes
};

// A pressure field's number and its standard uncertainty, both in the field's unit.
struct UncertainPressure {
  float Field = 0;
  double PerMbar = 1;
  double Standard = 0;
};

UncertainPressure PressureOf(float field, int fieldUnit, const PressureUncertainty& u, double k) {
  UncertainPressure p;
  p.Field = field;
  if (!IsPressureUnitIndex(fieldUnit)) return p;  // the estimate has no answer then
  p.PerMbar = PerMbar(fieldUnit);
  if (u.Relative) {
    p.Standard = std::fabs(static_cast<double>(field)) * u.Expanded / 100 / k;
  } else {
    // A difference of pressures: the units' factors apply, never the gauge offset.
    const double ownPerMbar = u.Unit ? PerMbar(*u.Unit) : p.PerMbar;
    p.Standard = u.Expanded / ownPerMbar * p.PerMbar / k;
  }
  return p;
}

// The slope of f at x0 by a central difference between the held values x0 - h and x0 + h,
// one-sided where one end has no answer, nothing where neither has one.
template <class F>
std::optional<double> Secant(F f, float x0, double h, float y0) {
  const float below = HoldSingle(static_cast<double>(x0) - h);
  const float above = HoldSingle(static_cast<double>(x0) + h);
  const std::optional<float> yBelow = f(below);
  const std::optional<float> yAbove = f(above);
  const double lowX = yBelow ? below : x0;
  const double highX = yAbove ? above : x0;
  if (!(highX > lowX)) return std::nullopt;
  const double lowY = yBelow ? *yBelow : y0;
  const double highY = yAbove ? *yAbove : y0;
  return (highY - lowY) / (highX - lowX);
}

// Finite-difference steps. A step is the input's standard uncertainty, so that the secant
// spans the input's own spread, but never less than a floor. Where the result comes from the
// dew-point search it moves in steps of the 0.01 °C grid, each result up to 0.015 °C from the
// exact root, so a secant over a few grid steps would be mostly grid: there the floors make
// each side of a step move the dew point by about 100 grid steps (1 °C of a dew point in;
// 10 % of an amount or a pressure moves a dew point by 0.5 to 1.5 °C), and the grid (at most
// 0.03 °C between the two ends) moves a sensitivity by 1.5 % at most for a dew point in and
// by a few percent at most otherwise. Elsewhere the floors only keep a step far above the
// single-precision holds and the 0.01 mbar rounding of the pressures.
double FromValueStep(int fromUnit, float x0, double u, bool onGrid) {
  double floor;
  if (IsTemperatureUnit(fromUnit)) {
    floor = (onGrid ? 1.0 : 0.01) * (IsFahrenheitUnit(fromUnit) ? 1.8 : 1.0);
  } else {
    floor = (onGrid ? 0.1 : 0.001) * std::fabs(static_cast<double>(x0));
  }
  return std::max(u, floor);
}

double PressureStep(const UncertainPressure& p, double pressureMbar, bool onGrid) {
  const double floorMbar =
      onGrid ? 0.1 * std::fabs(pressureMbar) : std::max(0.01 * std::fabs(pressureMbar), 1.0);
  return std::max(p.Standard, floorMbar * p.PerMbar);
}

// The lowIndex-th and highIndex-th smallest of y[0, m) (from 0), lowIndex <= highIndex: what
// std::nth_element finds, found faster. Most results lie between the two, so one pass puts
// aside those below a lower and above an upper threshold, each taken from a sample far
// enough beyond its order statistic's place in the sample to hold it, and the order
// statistics are found among those; where a threshold falls short, in all of y (reordered).
void OrderStatistics(std::vector<double>& y, std::size_t m, std::size_t lowIndex,
                     std::size_t highIndex, double& low, double& high) {
  const auto all = [&] {
    const auto begin = y.begin();
    const auto end = y.begin() + static_cast<std::ptrdiff_t>(m);
    std::nth_element(begin, begin + static_cast<std::ptrdiff_t>(lowIndex), end);
    low = y[lowIndex];
    std::nth_element(begin + static_cast<std::ptrdiff_t>(lowIndex),
                     begin + static_cast<std::ptrdiff_t>(highIndex), end);
    high = y[highIndex];
  };
  constexpr std::size_t kSample = 1024;
  if (m < 4 * kSample) return all();
  const std::size_t stride = m / kSample;
  std::vector<double> sample(kSample);
  for (std::size_t i = 0; i < kSample; ++i) sample[i] = y[i * stride];
  // A sample's count below a quantile has a standard deviation under sqrt(count); four of
  // them, and a few places more, are room enough.
  const auto margin = [](std::size_t place) {
    return static_cast<std::size_t>(4 * std::sqrt(static_cast<double>(place)) + 8);
  };
  const std::size_t lowPlace = lowIndex * kSample / m;
  const std::size_t highPlace = highIndex * kSample / m;
  const std::size_t lowAt = std::min(lowPlace + margin(lowPlace), kSample - 1);
  const std::size_t fromTop = kSample - 1 - highPlace;
  const std::size_t highAt = kSample - 1 - std::min(fromTop + margin(fromTop), kSample - 1);
  std::nth_element(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(lowAt),
                   sample.end());
  const double lowThreshold = sample[lowAt];
  std::nth_element(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(highAt),
                   sample.end());
  const double highThreshold = sample[highAt];
  if (!(lowThreshold < highThreshold)) return all();
  std::vector<double> below;
  std::vector<double> above;
  below.reserve(2 * lowAt * stride);
  above.reserve(2 * (kSample - highAt) * stride);
  for (std::size_t i = 0; i < m; ++i) {
    if (y[i] < lowThreshold) {
      below.push_back(y[i]);
    } else if (y[i] > highThreshold) {
      above.push_back(y[i]);
    }
  }
  // The values below the lower threshold are the smallest below.size() of all, those above
  // the upper one the largest above.size().
  const std::size_t aboveStart = m - above.size();
  if (lowIndex >= below.size() || highIndex < aboveStart) return all();
  std::nth_element(below.begin(), below.begin() + static_cast<std::ptrdiff_t>(lowIndex),
                   below.end());
  low = below[lowIndex];
  const std::size_t inAbove = highIndex - aboveStart;
  std::nth_element(above.begin(), above.begin() + static_cast<std::ptrdiff_t>(inAbove),
                   above.end());
  high = above[inAbove];
}

// The probabilistically symmetric 95 % interval of m results (JCGM 101:2008, 7.7): with
// q = 0.95 m rounded half up, the order statistics r and r + q (1-based), r = (m - q) / 2
// rounded up. May reorder the results.
void SymmetricInterval(std::vector<double>& y, std::size_t m, double& low, double& high) {
  const auto q = static_cast<std::size_t>(kCoverageProbability * static_cast<double>(m) + 0.5);
  const std::size_t r = std::max<std::size_t>((m - q + 1) / 2, 1);
  const std::size_t lowIndex = r - 1;
  const std::size_t highIndex = std::min(r + q, m) - 1;
  OrderStatistics(y, m, lowIndex, highIndex, low, high);
}

// Whether the results are ordered as the From values are (all rising or all falling),
// checked across 1024 equal bins of the From values: within a bin (a thousandth of the
// drawn range, under 0.01 of a standard uncertainty) the order is not checked.
// xMin and xMax are the least and the greatest of x[0, m).
bool MonotonicAcrossBins(const std::vector<float>& x, const std::vector<double>& y, std::size_t m,
                         float xMin, float xMax) {
  constexpr int64_t kBins = 1024;
  const double low = xMin;
  const double width = static_cast<double>(xMax) - low;
  const double binsPerX = width > 0 ? kBins / width : 0;
  struct Bin {
    double Min = INFINITY;
    double Max = -INFINITY;
  };
  std::vector<Bin> bins(kBins);
  for (std::size_t i = 0; i < m; ++i) {
    // At least 0, since x[i] >= low; a signed conversion is the cheaper.
    const int64_t bin = std::min(static_cast<int64_t>((x[i] - low) * binsPerX), kBins - 1);
    Bin& b = bins[static_cast<std::size_t>(bin)];
    b.Min = std::min(b.Min, y[i]);
    b.Max = std::max(b.Max, y[i]);
  }
  bool rising = true;
  bool falling = true;
  double maxSoFar = -INFINITY;
  double minSoFar = INFINITY;
  for (const Bin& b : bins) {
    if (b.Min > b.Max) continue;  // empty
    rising = rising && b.Min >= maxSoFar;
    falling = falling && b.Max <= minSoFar;
    maxSoFar = std::max(maxSoFar, b.Max);
    minSoFar = std::min(minSoFar, b.Min);
  }
  return rising || falling;
}

// What a propagation decided before its trials: the inputs' standard uncertainties in their
// fields' units and the formula's correction.
struct Propagation {
  const TrialConversion& Trial;
  float FromValue;
  float Result;  // the panel's, at the estimates
  double FromStandard;
  UncertainPressure Measured;
  UncertainPressure Compute;  // Standard 0 when it is the measured pressure
  bool Linked;                // the compute-at pressure is the measured one
  // The formula's own uncertainty: the 12 choices bound the result, and a bounded effect with
  // nothing known beyond its bounds is rectangular (GUM 4.3.7), centred on the middle of the
  // bounds, which is therefore the estimate. Each trial adds a correction drawn between the
  // bounds less the chosen formula's result; taken at the estimates, the bounds are assumed
  // to move little across the inputs' spread.
  double CorrectionLow = 0;
  double CorrectionWidth = 0;
};

// Each input's contribution by the law of propagation, with sensitivities by finite
// differences.
void AddContributions(const Propagation& p, bool onGrid, double measuredMbar, double computeMbar,
                      UncertaintyResult& out) {
  auto contribute = [&](UncertaintySource source, double u, double perUnit, double step, float at,
                        auto f) {
    if (!(u > 0)) return;
    UncertaintyContribution& c = out.Contributions[static_cast<std::size_t>(source)];
    c.Present = true;
    c.StandardUncertainty = u / perUnit;
    const std::optional<double> slope = Secant(f, at, step, p.Result);
    if (!slope) return;
    c.Valid = true;
    c.Sensitivity = *slope * perUnit;
    c.Value = *slope * u;
  };
  const float x0 = p.FromValue;
  contribute(UncertaintySource::FromValue, p.FromStandard, 1.0,
             FromValueStep(p.Trial.fromUnit(), x0, p.FromStandard, onGrid), x0,
             [&](float x) { return p.Trial.at(x); });
  contribute(UncertaintySource::MeasuredPressure, p.Measured.Standard, p.Measured.PerMbar,
             PressureStep(p.Measured, measuredMbar, onGrid), p.Measured.Field,
             [&](float pm) { return p.Trial.at(x0, pm, p.Linked ? pm : p.Compute.Field); });
  contribute(UncertaintySource::ComputePressure, p.Compute.Standard, p.Compute.PerMbar,
             PressureStep(p.Compute, computeMbar, onGrid), p.Compute.Field,
             [&](float pc) { return p.Trial.at(x0, p.Measured.Field, pc); });
  double sumOfSquares = 0;
  for (const UncertaintyContribution& c : out.Contributions) {
    if (c.Valid) sumOfSquares += c.Value * c.Value;
  }
  out.LinearStandardUncertainty = std::sqrt(sumOfSquares);
}

// What the trials give besides their results: the sum of the results in the order drawn and
// the range of the From values stored.
struct TrialTotals {
  std::size_t Answered = 0;
  double Sum = 0;
  float FromMin = INFINITY;
  float FromMax = -INFINITY;
};

// The Monte Carlo trials: the results of those that answer, in the order drawn, and with
// fromValues (when not empty) their From values. Each input draws from a stream of its own,
// so that adding an uncertainty leaves the other inputs' draws as they were, and every trial
// draws whether or not it answers.
TrialTotals RunTrials(const Propagation& p, uint64_t seed, std::size_t n,
                      std::vector<double>& results, std::vector<float>& fromValues) {
  const bool varyFrom = p.FromStandard > 0;
  const bool varyMeasured = p.Measured.Standard > 0;
  const bool varyCompute = p.Compute.Standard > 0;
  const bool varyFormula = p.CorrectionWidth > 0;
  RandomStream fromDraws(seed, 0);
  RandomStream measuredDraws(seed, 1);
  RandomStream computeDraws(seed, 2);
  RandomStream formulaDraws(seed, 3);
  // The draws of a block of trials are made before its conversions: drawn between them, the
  // normal transform slowed the conversions by half (measured on x86-64).
  constexpr std::size_t kBlock = 1024;
  std::vector<float> xs(kBlock, p.FromValue);
  std::vector<float> pms(kBlock, p.Measured.Field);
  std::vector<float> pcs(kBlock, p.Compute.Field);
  const std::vector<float>& computeBlock = p.Linked ? pms : pcs;
  std::vector<double> corrections(kBlock, p.CorrectionLow);
  std::vector<double> deviates(kBlock);
  // At fixed pressures a block converts as a column.
  const bool fixedPressures = !varyMeasured && !varyCompute;
  std::vector<double> wide(kBlock);
  std::vector<uint8_t> outside(kBlock);
  std::vector<double> columnResults(kBlock);
  auto draw = [&deviates](std::vector<float>& block, std::size_t count, float mean, double u,
                          RandomStream& draws) {
    draws.normals(deviates.data(), count);
    for (std::size_t j = 0; j < count; ++j) block[j] = HoldSingle(mean + u * deviates[j]);
  };
  const bool keepFrom = !fromValues.empty();
  TrialTotals totals;
  std::size_t m = 0;
  for (std::size_t start = 0; start < n; start += kBlock) {
    const std::size_t count = std::min(kBlock, n - start);
    if (varyFrom) draw(xs, count, p.FromValue, p.FromStandard, fromDraws);
    if (varyMeasured) draw(pms, count, p.Measured.Field, p.Measured.Standard, measuredDraws);
    if (varyCompute) draw(pcs, count, p.Compute.Field, p.Compute.Standard, computeDraws);
    if (varyFormula) {
      for (std::size_t j = 0; j < count; ++j) {
        corrections[j] = p.CorrectionLow + p.CorrectionWidth * formulaDraws.uniform();
      }
    }
    if (fixedPressures) {
      p.Trial.atEach({xs.data(), count}, {wide.data(), count}, {outside.data(), count},
                     {columnResults.data(), count});
    }
    for (std::size_t j = 0; j < count; ++j) {
      const std::optional<float> y = !fixedPressures ? p.Trial.at(xs[j], pms[j], computeBlock[j])
                                     : std::isnan(columnResults[j])
                                         ? std::nullopt
                                         : std::optional<float>(columnResults[j]);
      if (!y) continue;
      if (keepFrom) {
        fromValues[m] = xs[j];
        totals.FromMin = std::min(totals.FromMin, xs[j]);
        totals.FromMax = std::max(totals.FromMax, xs[j]);
      }
      results[m] = *y + corrections[j];
      totals.Sum += results[m];
      ++m;
    }
  }
  totals.Answered = m;
  return totals;
}

}  // namespace

std::optional<std::string_view> UncertaintyRequestMessage(const UncertaintyRequest& request) {
  if (!(std::isfinite(request.CoverageFactor) && request.CoverageFactor > 0)) {
    return "the coverage factor must be a number above 0";
  }
  if (!IsUncertainty(request.FromExpanded) || !IsUncertainty(request.Measured.Expanded) ||
      !IsUncertainty(request.ComputeAt.Expanded)) {
    return "an uncertainty must be a number of 0 or more";
  }
  for (const PressureUncertainty* p : {&request.Measured, &request.ComputeAt}) {
    if (!p->Relative && p->Unit && !IsPressureUnitIndex(*p->Unit)) {
      return "unknown pressure unit of an uncertainty";
    }
  }
  if (request.Samples < kUncertaintyMinSamples || request.Samples > kUncertaintyMaxSamples) {
    return "the number of trials must be between 100 and 10000000";
  }
  return std::nullopt;
}

UncertaintyResult PropagateUncertainty(const UncertaintyRequest& request,
                                       const CalcSettings& settings) {
  UncertaintyResult out;
  if (UncertaintyRequestMessage(request)) return out;

  MoistureInputs inputs = request.Inputs;
  inputs.Increment = 0;
  if (request.ComputeAtMeasured) {
    inputs.ComputePressure = inputs.MeasuredPressure;
    inputs.ComputePressureUnit = inputs.MeasuredPressureUnit;
  }
  const TrialConversion trial(inputs, settings);
  const float x0 = inputs.FromValue;
  const std::optional<float> y0 = trial.at(x0);
  if (!y0) return out;
  out.Valid = true;
  out.Estimate = *y0;

  const double k = request.CoverageFactor;
  Propagation p{
      trial,
      x0,
      *y0,
      (request.FromRelative ? std::fabs(static_cast<double>(x0)) / 100 : 1.0) *
          request.FromExpanded / k,
      PressureOf(inputs.MeasuredPressure, inputs.MeasuredPressureUnit, request.Measured, k),
      PressureOf(inputs.ComputePressure, inputs.ComputePressureUnit, request.ComputeAt, k),
      request.ComputeAtMeasured};
  if (p.Linked) p.Compute.Standard = 0;
  if (request.IncludeFormula) {
    const MoistureSpread spread = ComputeMoistureSpread(inputs, settings);
    for (const float r : spread.Results) {
      if (r == static_cast<float>(OutOfRange)) out.ReachesOutOfRange = true;
    }
    p.CorrectionLow = static_cast<double>(spread.Min) - *y0;
    p.CorrectionWidth = static_cast<double>(spread.Max) - spread.Min;
    out.Estimate = (static_cast<double>(spread.Min) + spread.Max) / 2;
    UncertaintyContribution& c =
        out.Contributions[static_cast<std::size_t>(UncertaintySource::Formula)];
    c.Present = c.Valid = true;
    c.StandardUncertainty = c.Value = p.CorrectionWidth / std::sqrt(12.0);
    c.Sensitivity = 1;
  }
  AddContributions(p, ResultOnDewPointGrid(inputs, settings),
                   RoundedPressureMbar(inputs.MeasuredPressure, inputs.MeasuredPressureUnit),
                   RoundedPressureMbar(inputs.ComputePressure, inputs.ComputePressureUnit), out);

  const bool onlyFrom =
      p.Measured.Standard == 0 && p.Compute.Standard == 0 && p.CorrectionWidth == 0;
  if (onlyFrom && p.FromStandard == 0) {
    out.HasInterval = true;
    out.Mean = out.Low = out.High = out.MonteCarloLow = out.MonteCarloHigh = out.Estimate;
    out.Method = IntervalMethod::ExactImage;
    return out;
  }

  const std::size_t n = request.Samples;
  std::vector<double> results(n);
  std::vector<float> fromValues(onlyFrom ? n : 0);
  const TrialTotals totals = RunTrials(p, request.Seed, n, results, fromValues);
  const std::size_t m = totals.Answered;
  out.Samples = n;
  out.SamplesWithoutAnswer = n - m;
  if (m < n) out.ReachesOutOfRange = true;
  if (m == 0) return out;

  out.HasInterval = true;
  out.Mean = totals.Sum / static_cast<double>(m);
  double squares = 0;
  for (std::size_t i = 0; i < m; ++i) squares += (results[i] - out.Mean) * (results[i] - out.Mean);
  out.StandardUncertainty = m > 1 ? std::sqrt(squares / static_cast<double>(m - 1)) : 0;
  // The order check needs the results in the order drawn; the interval reorders them.
  const bool monotonic =
      onlyFrom && m == n &&
      MonotonicAcrossBins(fromValues, results, m, totals.FromMin, totals.FromMax);
  SymmetricInterval(results, m, out.MonteCarloLow, out.MonteCarloHigh);
  out.Low = out.MonteCarloLow;
  out.High = out.MonteCarloHigh;
  out.Method = IntervalMethod::MonteCarlo;

  // One input through a monotonic conversion: the 95 % interval of the result is the image of
  // the input's, exactly.
  if (monotonic) {
    const std::optional<float> a = trial.at(HoldSingle(x0 - kCoverageZ * p.FromStandard));
    const std::optional<float> b = trial.at(HoldSingle(x0 + kCoverageZ * p.FromStandard));
    if (a && b) {
      out.Low = std::min(*a, *b);
      out.High = std::max(*a, *b);
      out.Method = IntervalMethod::ExactImage;
    }
  }
  return out;
}

}  // namespace tavimor
