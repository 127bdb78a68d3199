#include "core/moisture_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "core/moisture_format.h"
#include "core/single_precision.h"
#include "core/std_bridge.h"
#include "core/wide_loops.h"

namespace tavimor {

namespace {

constexpr float kOutOfRangeSingle = static_cast<float>(OutOfRange);

// A held value that overflowed single precision has no answer either. Bitwise "and": a
// column's loop over it has no branch (and one over held values widened to double checks
// them as doubles, which the machine compares two at a time).
bool IsAnswer(float v) {
  return (v != kOutOfRangeSingle) & std::isfinite(v);
}
bool IsAnswer(double heldWide) {
  return (heldWide != OutOfRange) & std::isfinite(heldWide);
}

template <class T>
bool SameBits(T a, T b) {
  static_assert(sizeof(T) == 8 || sizeof(T) == 4);
  using Bits = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  return BitCast<Bits>(a) == BitCast<Bits>(b);
}

}  // namespace

std::optional<std::string_view> FromValueRangeMessage(int fromListSelection, float value) {
  if (fromListSelection < 0 || fromListSelection >= kMoistureUnitCount) return std::nullopt;
  const auto& range = kMoistureUnits[static_cast<std::size_t>(fromListSelection)].Range;
  if (!range) return std::nullopt;
  if (value >= range->Low && value <= range->High) return std::nullopt;
  return range->Message;
}

MoistureConversion::MoistureConversion(const MoistureInputs& inputs, const CalcSettings& settings)
    : MoistureConversion(
          inputs, settings,
          ChoosePhysics(settings, inputs.FromListSelection, inputs.ToListSelection)) {}

MoistureConversion::MoistureConversion(const MoistureInputs& inputs, const CalcSettings& settings,
                                       const PhysicsChoice& physics)
    : m_physics(physics),
      m_fromUnit(MoistureUnitFromIndex(inputs.FromUnit)),
      m_toUnit(MoistureUnitFromIndex(inputs.ToListSelection)),
      m_fromRange(m_fromUnit ? kMoistureUnits[static_cast<std::size_t>(*m_fromUnit)].Range
                             : std::nullopt),
      m_from(UnitParamsOf(settings.From)),
      m_to(UnitParamsOf(settings.To)),
      m_increment(inputs.Increment),
      m_measuredMbar(RoundedPressureMbar(inputs.MeasuredPressure, inputs.MeasuredPressureUnit)),
      m_measuredHeldMbar(HoldSingle(m_measuredMbar)),
      m_computeMbar(ReadPressureMbar(inputs.ComputePressure, inputs.ComputePressureUnit)) {}

MoistureValues MoistureConversion::values(float fromValue) const {
  MoistureValues out;
  const double x = fromValue;
  const double xd = x + m_increment;

  float cd = kOutOfRangeSingle;
  float c = kOutOfRangeSingle;
  if (m_fromUnit) {
    cd = HoldSingle(MoistureToPpmv(*m_fromUnit, xd, m_measuredMbar, m_from, m_physics));
    // Without an increment both conversions have the same input bits: convert once.
    c = SameBits(xd, x)
            ? cd
            : HoldSingle(MoistureToPpmv(*m_fromUnit, x, m_measuredMbar, m_from, m_physics));
  }
  const bool cdValid = IsAnswer(cd);
  if (!IsAnswer(c)) {
    out.DeltaNotApplicable = cdValid;
    return out;
  }

  float rd = kOutOfRangeSingle;
  float r = kOutOfRangeSingle;
  if (m_toUnit) {
    if (cdValid) {
      rd = HoldSingle(
          PpmvToMoisture(*m_toUnit, cd, m_computeMbar, m_to, m_measuredHeldMbar, m_physics));
    }
    r = cdValid && SameBits(c, cd) ? rd
                                   : HoldSingle(PpmvToMoisture(*m_toUnit, c, m_computeMbar, m_to,
                                                               m_measuredHeldMbar, m_physics));
  }

  out.ResultValid = IsAnswer(r);
  if (out.ResultValid) out.Result = r;
  if (!cdValid || !IsAnswer(rd)) return out;
  if (!out.ResultValid) {
    out.DeltaNotApplicable = true;
    return out;
  }
  const float delta = rd - r;  // formed from the two held results, held in single
  if (std::isfinite(delta)) {
    out.Delta = delta;
    out.DeltaValid = true;
  }
  return out;
}

TAVIMOR_WIDE_LOOPS void MoistureConversion::convertColumn(std::span<const double> values,
                                                          std::span<double> results,
                                                          std::span<uint8_t> outside) const {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  // Values per pass: the pass's numbers stay in the first-level cache.
  constexpr std::size_t kPass = 256;
  double value[kPass];
  double step[kPass];
  // Without a range every number is taken, and NaN goes on as NaN.
  const double low = m_fromRange ? m_fromRange->Low : -INFINITY;
  const double high = m_fromRange ? m_fromRange->High : INFINITY;
  const bool ranged = m_fromRange.has_value();
  for (std::size_t begin = 0; begin < values.size(); begin += kPass) {
    const std::size_t n = std::min(kPass, values.size() - begin);
    double* result = results.data() + begin;
    // Outside the range, the value goes on as NaN: every step answers that with
    // OutOfRange at once, never searching. Bitwise "and" and selects: no branch.
    for (std::size_t i = 0; i < n; ++i) {
      const double held = HoldSingle(values[begin + i]);
      const bool inside = (held >= low) & (held <= high);
      value[i] = inside ? held : kNaN;
      outside[begin + i] = ranged & !inside;
    }
    if (!m_fromUnit || !m_toUnit) {
      std::fill_n(result, n, kNaN);
      continue;
    }
    MoistureToPpmvColumn(*m_fromUnit, {value, n}, m_measuredMbar, m_from, m_physics, {step, n});
    // A held ppmv without an answer goes on as NaN too.
    for (std::size_t i = 0; i < n; ++i) {
      const double ppmv = HoldSingle(step[i]);
      value[i] = IsAnswer(ppmv) ? ppmv : kNaN;
    }
    PpmvToMoistureColumn(*m_toUnit, {value, n}, m_computeMbar, m_to, m_measuredHeldMbar, m_physics,
                         {step, n});
    for (std::size_t i = 0; i < n; ++i) {
      const double held = HoldSingle(step[i]);
      result[i] = IsAnswer(held) ? held : kNaN;
    }
  }
}

MoistureResults MoistureConversion::results(float fromValue) const {
  const MoistureValues v = values(fromValue);
  MoistureResults out;
  out.Result = v.Result;
  out.Delta = v.Delta;
  out.ResultValid = v.ResultValid;
  out.DeltaValid = v.DeltaValid;
  appendResultText(out.ResultText, v);
  appendDeltaText(out.DeltaText, v);
  return out;
}

// A valid result or delta implies a To unit.
void MoistureConversion::appendResultText(std::string& out, const MoistureValues& v) const {
  if (v.ResultValid) {
    AppendMoistureValue(out, *m_toUnit, v.Result);
  } else {
    out += kOutOfRangeText;
  }
}

void MoistureConversion::appendDeltaText(std::string& out, const MoistureValues& v) const {
  if (v.DeltaValid) {
    AppendMoistureValue(out, *m_toUnit, v.Delta);
  } else {
    out += v.DeltaNotApplicable ? kNotApplicableText : kOutOfRangeText;
  }
}

MoistureResults ComputeMoistureResults(const MoistureInputs& inputs, const CalcSettings& settings) {
  return MoistureConversion(inputs, settings).results(inputs.FromValue);
}

float ConvertMoistureValue(const MoistureInputs& inputs, const CalcSettings& settings,
                           const PhysicsChoice& physics) {
  MoistureInputs resultOnly = inputs;
  resultOnly.Increment = 0;
  const MoistureValues v =
      MoistureConversion(resultOnly, settings, physics).values(inputs.FromValue);
  return v.ResultValid ? v.Result : kOutOfRangeSingle;
}

}  // namespace tavimor
