#include "core/moisture_conversion.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "core/moisture_format.h"
#include "core/single_precision.h"

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
  return std::bit_cast<Bits>(a) == std::bit_cast<Bits>(b);
}

}  // namespace

std::optional<std::string_view> FromValueRangeMessage(int fromListSelection, float value) {
  if (fromListSelection < 0 || fromListSelection >= kMoistureUnitCount) return std::nullopt;
  const auto& range = kFromRanges[static_cast<std::size_t>(fromListSelection)];
  if (!range) return std::nullopt;
  if (value >= range->Low && value <= range->High) return std::nullopt;
  return range->Message;
}

MoistureResults ComputeMoistureResults(const MoistureInputs& inputs, const CalcSettings& settings) {
  MoistureResults out;
  const PhysicsChoice physics =
      ChoosePhysics(settings, inputs.FromListSelection, inputs.ToListSelection);
  const double x = inputs.FromValue;
  const double d = inputs.Increment;
  const double pmRounded =
      RoundedPressureMbar(inputs.MeasuredPressure, inputs.MeasuredPressureUnit);
  const float pm = HoldSingle(pmRounded);

  float cd = kOutOfRangeSingle;
  float c = kOutOfRangeSingle;
  if (const auto fromUnit = MoistureUnitFromIndex(inputs.FromUnit)) {
    const UnitParams from = UnitParamsOf(settings.From);
    cd = HoldSingle(MoistureToPpmv(*fromUnit, x + d, pmRounded, from, physics));
    // Without an increment both conversions have the same input bits: convert once.
    c = SameBits(x + d, x) ? cd
                           : HoldSingle(MoistureToPpmv(*fromUnit, x, pmRounded, from, physics));
  }
  const bool cdValid = IsAnswer(cd);
  if (!IsAnswer(c)) {
    out.ResultText = kOutOfRangeText;
    out.DeltaText = cdValid ? kNotApplicableText : kOutOfRangeText;
    return out;
  }

  const float pc = ReadPressureMbar(inputs.ComputePressure, inputs.ComputePressureUnit);
  const auto toUnit = MoistureUnitFromIndex(inputs.ToListSelection);
  float rd = kOutOfRangeSingle;
  float r = kOutOfRangeSingle;
  if (toUnit) {
    const UnitParams to = UnitParamsOf(settings.To);
    if (cdValid) rd = HoldSingle(PpmvToMoisture(*toUnit, cd, pc, to, pm, physics));
    r = cdValid && SameBits(c, cd) ? rd
                                   : HoldSingle(PpmvToMoisture(*toUnit, c, pc, to, pm, physics));
  }

  out.ResultValid = IsAnswer(r);
  if (out.ResultValid) {
    out.Result = r;
    out.ResultText = FormatMoistureValue(*toUnit, r);
  } else {
    out.ResultText = kOutOfRangeText;
  }

  if (!cdValid || !IsAnswer(rd)) {
    out.DeltaText = kOutOfRangeText;
  } else if (!out.ResultValid) {
    out.DeltaText = kNotApplicableText;
  } else {
    const float delta = rd - r;  // formed from the two held results, held in single
    if (std::isfinite(delta)) {
      out.Delta = delta;
      out.DeltaValid = true;
      out.DeltaText = FormatMoistureValue(*toUnit, delta);
    } else {
      out.DeltaText = kOutOfRangeText;
    }
  }
  return out;
}

float ConvertMoistureValue(const MoistureInputs& inputs, const CalcSettings& settings,
                           const PhysicsChoice& physics) {
  const auto fromUnit = MoistureUnitFromIndex(inputs.FromUnit);
  const auto toUnit = MoistureUnitFromIndex(inputs.ToListSelection);
  if (!fromUnit || !toUnit) return kOutOfRangeSingle;
  const double pmRounded =
      RoundedPressureMbar(inputs.MeasuredPressure, inputs.MeasuredPressureUnit);
  const float c = HoldSingle(
      MoistureToPpmv(*fromUnit, inputs.FromValue, pmRounded, UnitParamsOf(settings.From), physics));
  if (!IsAnswer(c)) return kOutOfRangeSingle;
  const float pc = ReadPressureMbar(inputs.ComputePressure, inputs.ComputePressureUnit);
  const float r = HoldSingle(
      PpmvToMoisture(*toUnit, c, pc, UnitParamsOf(settings.To), HoldSingle(pmRounded), physics));
  return IsAnswer(r) ? r : kOutOfRangeSingle;
}

}  // namespace tavimor
