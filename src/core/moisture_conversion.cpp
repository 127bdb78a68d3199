#include "core/moisture_conversion.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "core/moisture_format.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/std_bridge.h"

namespace tavimor {

namespace {

constexpr float kOutOfRangeSingle = static_cast<float>(OutOfRange);

// A held value that overflowed single precision has no answer either.
bool IsAnswer(float v) {
  return v != kOutOfRangeSingle && std::isfinite(v);
}

struct FromRange {
  float Low;
  float High;
  std::string_view Message;
};

// Indexed by the From list's selection; bounds inclusive and compared in single precision.
constexpr std::array<std::optional<FromRange>, kMoistureUnitCount> kFromRanges = {{
    FromRange{0.0f, 123.4f, "stay between 0 and 123.4 mb."},
    FromRange{-140.0f, 50.0f, "stay between -140°C and +50°C"},
    FromRange{-220.0f, 122.0f, "stay between -220°F and +122°F"},
    std::nullopt,
    std::nullopt,
    FromRange{0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
    FromRange{0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
    FromRange{0.0f, 5812.0f, "stay between 0 and 5812 lbs/mm'³"},
    FromRange{0.0f, 93.0f, "stay between 0 and 93 g/m³"},
    std::nullopt,
    FromRange{0.0f, 138670.0f, "stay between 0 and 138670 ppm"},
}};

template <class T>
bool SameBits(T a, T b) {
  static_assert(sizeof(T) == 8 || sizeof(T) == 4);
  using Bits = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  return BitCast<Bits>(a) == BitCast<Bits>(b);
}

}  // namespace

std::optional<std::string_view> FromValueRangeMessage(int fromListSelection, float value) {
  if (fromListSelection < 0 || fromListSelection >= kMoistureUnitCount) return std::nullopt;
  const auto& range = kFromRanges[static_cast<std::size_t>(fromListSelection)];
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

MoistureResults MoistureConversion::results(float fromValue) const {
  const MoistureValues v = values(fromValue);
  MoistureResults out;
  out.Result = v.Result;
  out.Delta = v.Delta;
  out.ResultValid = v.ResultValid;
  out.DeltaValid = v.DeltaValid;
  // A valid result or delta implies a To unit.
  out.ResultText =
      v.ResultValid ? FormatMoistureValue(*m_toUnit, v.Result) : std::string(kOutOfRangeText);
  if (v.DeltaValid) {
    out.DeltaText = FormatMoistureValue(*m_toUnit, v.Delta);
  } else {
    out.DeltaText = v.DeltaNotApplicable ? kNotApplicableText : kOutOfRangeText;
  }
  return out;
}

MoistureResults ComputeMoistureResults(const MoistureInputs& inputs, const CalcSettings& settings) {
  return MoistureConversion(inputs, settings).results(inputs.FromValue);
}

std::string ShownResult(const MoistureResults& results, bool raw) {
  return raw && results.ResultValid ? FormatAllDigits(results.Result) : results.ResultText;
}

std::string ShownDelta(const MoistureResults& results, bool raw) {
  return raw && results.DeltaValid ? FormatAllDigits(results.Delta) : results.DeltaText;
}

std::string ConvertedLine(const MoistureResults& results, bool raw, bool withDelta) {
  std::string line = ShownResult(results, raw);
  if (withDelta) line += '\t' + ShownDelta(results, raw);
  return line;
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
