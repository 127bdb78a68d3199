#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "core/calc_settings.h"
#include "core/formula_spread.h"
#include "core/moisture_conversion.h"
#include "core/moisture_format.h"
#include "core/single_precision.h"
#include "core/std_bridge.h"
#include "core/unit_tables.h"

namespace tavimor {

// One value as the front ends that take arrays (the Python package, the browser's
// JavaScript API) convert it: numbers rather than the command's texts, NaN where the panel
// shows none. Inline, as each is the body of a loop over an array.

// The number a result text shows, read back as a double; NaN for a text without one.
inline double ShownNumber(std::string_view text) {
  double value = std::numeric_limits<double>::quiet_NaN();
  DoubleFromChars(text.data(), text.data() + text.size(), value);
  return value;
}

// The result and the delta (NaN where there is none) and whether the value lies outside the
// From unit's range (NaN included).
struct ConvertedNumber {
  double Result = std::numeric_limits<double>::quiet_NaN();
  double Delta = std::numeric_limits<double>::quiet_NaN();
  bool Outside = false;
};

// shown: the numbers the fields show instead of the held values.
inline ConvertedNumber ConvertNumber(const MoistureConversion& conversion, int fromUnit,
                                     double number, bool shown) {
  ConvertedNumber out;
  const float value = HoldSingle(number);
  out.Outside = FromValueRangeMessage(fromUnit, value).has_value();
  if (out.Outside) return out;
  if (shown) {
    const MoistureResults m = conversion.results(value);
    if (m.ResultValid) out.Result = ShownNumber(m.ResultText);
    if (m.DeltaValid) out.Delta = ShownNumber(m.DeltaText);
  } else {
    const MoistureValues m = conversion.values(value);
    if (m.ResultValid) out.Result = m.Result;
    if (m.DeltaValid) out.Delta = m.Delta;
  }
  return out;
}

// Where a column's spread across the formula and enhancement choices goes: for each value
// its kPhysicsCombinationCount results in the order of kPhysicsCombinations, the smallest
// and largest and the combination giving each (-1: none), and status 1 where the value lies
// outside the From unit's range, else 0. Index is the front end's integer type.
template <typename Index>
struct SpreadColumns {
  double* Results;
  double* Min;
  double* Max;
  Index* MinAt;
  Index* MaxAt;
  uint8_t* Status;
};

// Rows [begin, end) of a column's spread; inputs without a From value, toUnit valid. shown:
// the numbers the result field would show instead of the held values.
template <typename Index>
void SpreadRows(const double* values, std::size_t begin, std::size_t end, MoistureInputs inputs,
                const CalcSettings& settings, int toUnit, bool shown,
                const SpreadColumns<Index>& out) {
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  const MoistureUnit unit = *MoistureUnitFromIndex(toUnit);
  const auto number = [&](float v) {
    if (v == static_cast<float>(OutOfRange)) return kNone;
    return shown ? ShownNumber(FormatMoistureValue(unit, v)) : static_cast<double>(v);
  };
  constexpr std::size_t k = kPhysicsCombinationCount;
  for (std::size_t i = begin; i < end; ++i) {
    inputs.FromValue = HoldSingle(values[i]);
    const bool outside = FromValueRangeMessage(inputs.FromUnit, inputs.FromValue).has_value();
    out.Status[i] = outside ? 1 : 0;
    const MoistureSpread spread =
        outside ? MoistureSpread{} : ComputeMoistureSpread(inputs, settings);
    for (std::size_t c = 0; c < k; ++c) {
      out.Results[i * k + c] = outside ? kNone : number(spread.Results[c]);
    }
    out.Min[i] = spread.Valid ? number(spread.Min) : kNone;
    out.Max[i] = spread.Valid ? number(spread.Max) : kNone;
    out.MinAt[i] = spread.Valid ? static_cast<Index>(spread.MinIndex) : Index{-1};
    out.MaxAt[i] = spread.Valid ? static_cast<Index>(spread.MaxIndex) : Index{-1};
  }
}

}  // namespace tavimor
