#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/moisture_conversion.h"

namespace tavimor {

// How sure a converted value is: the uncertainties of the From value and the two pressures
// carried through the panel's conversion, after the GUM (JCGM 100:2008) and its Supplement 1
// on propagation by Monte Carlo (JCGM 101:2008).

// The expanded uncertainty U of a pressure field.
struct PressureUncertainty {
  double Expanded = 0;      // U >= 0; 0: the pressure is taken as exact
  bool Relative = false;    // U in percent of the field's number, in the field's unit
  std::optional<int> Unit;  // PressureUnit index of an absolute U; nothing: the field's unit
};

inline constexpr uint64_t kUncertaintySeed = 22;            // fixed, so results repeat
inline constexpr std::size_t kUncertaintySamples = 100000;  // Monte Carlo trials
inline constexpr std::size_t kUncertaintyMinSamples = 100;  // bounds a request may ask for
inline constexpr std::size_t kUncertaintyMaxSamples = 10000000;
inline constexpr double kCoverageProbability = 0.95;
// The standard normal's 0.975 quantile: x ± kCoverageZ u is a normal input's 95 % interval.
inline constexpr double kCoverageZ = 1.959963984540054;

struct UncertaintyRequest {
  MoistureInputs Inputs;    // the conversion; FromValue is the estimate, Increment unused
  double FromExpanded = 0;  // U of the From value, in the From unit, or percent of its size
  bool FromRelative = false;
  double CoverageFactor = 2;  // k of every U above: the standard uncertainty is u = U / k
  PressureUncertainty Measured;
  PressureUncertainty ComputeAt;
  // The compute-at pressure is the measured pressure (the panel's "compute at measured"):
  // one quantity, drawn once, with the measured pressure's number, unit and uncertainty.
  bool ComputeAtMeasured = false;
  // Adds the spread over the 12 formula and enhancement choices as a rectangular
  // contribution; the estimate is then the middle of that spread.
  bool IncludeFormula = false;
  uint64_t Seed = kUncertaintySeed;
  std::size_t Samples = kUncertaintySamples;
};

enum class UncertaintySource { FromValue = 0, MeasuredPressure, ComputePressure, Formula };
inline constexpr std::size_t kUncertaintySourceCount = 4;

// One input's share by the law of propagation of uncertainty.
struct UncertaintyContribution {
  bool Present = false;  // the input is uncertain (U > 0, or the formula included)
  bool Valid = false;    // its sensitivity could be found (the shifted conversions answer)
  // In the From unit, in mbar for the pressures, in the result's unit for the formula.
  double StandardUncertainty = 0;
  double Sensitivity = 0;  // result per unit of the input; 1 for the formula
  double Value = 0;        // Sensitivity × StandardUncertainty, in the result's unit
};

enum class IntervalMethod {
  ExactImage,  // the image of the input's interval: one uncertain input, monotonic conversion
  MonteCarlo,  // the probabilistically symmetric interval of the sorted trial results
};

struct UncertaintyResult {
  bool Valid = false;       // the estimate converts; nothing below is set otherwise
  double Estimate = 0;      // the panel's result, or with the formula the middle of its spread
  std::size_t Samples = 0;  // trials drawn
  std::size_t SamplesWithoutAnswer = 0;  // refused by the From range or out of range
  // Some trials reach outside the From unit's range or give no answer, or a formula choice
  // gives none: the statistics below are of the trials that answer ("interval reaches out
  // of range"), never of a silently clipped distribution.
  bool ReachesOutOfRange = false;
  bool HasInterval = false;        // some trial answers; the four values below are set
  double Mean = 0;                 // of the trial results
  double StandardUncertainty = 0;  // their standard deviation
  double Low = 0;                  // the 95 % coverage interval
  double High = 0;
  IntervalMethod Method = IntervalMethod::MonteCarlo;
  double MonteCarloLow = 0;  // the Monte Carlo interval, also where Low and High are exact
  double MonteCarloHigh = 0;
  std::array<UncertaintyContribution, kUncertaintySourceCount> Contributions{};
  double LinearStandardUncertainty = 0;  // root sum of squares of the valid contributions
};

// What is wrong with a request, or nothing: a coverage factor not above 0, an uncertainty
// that is negative or not a number, a pressure unit that does not exist, a sample count
// outside its bounds.
std::optional<std::string_view> UncertaintyRequestMessage(const UncertaintyRequest& request);

// The propagation: Monte Carlo over the panel's own conversion, the exact image where one
// input varies through a monotonic conversion, and each input's contribution. Not Valid for
// a request with a message, or when the estimate itself is refused or has no answer.
UncertaintyResult PropagateUncertainty(const UncertaintyRequest& request,
                                       const CalcSettings& settings);

}  // namespace tavimor
