#include "cli/value_conversion.h"

#include "core/formula_spread.h"
#include "core/moisture_format.h"
#include "core/number_text.h"
#include "core/single_precision.h"

namespace tavimor {

ValueConversion::ValueConversion(const ConvertSettings& settings) : m_settings(settings) {
  const PressureSetting compute = settings.ComputeAt.value_or(settings.Measured);
  m_inputs.Increment = settings.Increment.value_or(0.0f);
  m_inputs.FromUnit = settings.FromUnit;
  m_inputs.FromListSelection = settings.FromUnit;
  m_inputs.ToListSelection = settings.ToUnit;
  m_inputs.MeasuredPressure = settings.Measured.Value;
  m_inputs.MeasuredPressureUnit = settings.Measured.Unit;
  m_inputs.ComputePressure = compute.Value;
  m_inputs.ComputePressureUnit = compute.Unit;
}

std::optional<std::string_view> ValueConversion::read(std::string_view text) {
  const auto number = ReadNumberIfAny(text);
  if (!number) return "not a number";
  const float value = HoldSingle(*number);
  if (const auto message = FromValueRangeMessage(m_settings.FromUnit, value)) return *message;
  m_inputs.FromValue = value;
  return std::nullopt;
}

void ValueConversion::compute() {
  m_results = ComputeMoistureResults(m_inputs, m_settings.Calc);
}

void ValueConversion::appendResult(std::string& out) const {
  out += ShownResult(m_results, m_settings.Raw);
}

void ValueConversion::appendDelta(std::string& out) const {
  out += ShownDelta(m_results, m_settings.Raw);
}

void ValueConversion::appendSpread(std::string& out) const {
  const MoistureSpread spread = ComputeMoistureSpread(m_inputs, m_settings.Calc);
  const auto toUnit = MoistureUnitFromIndex(m_settings.ToUnit);
  const auto append = [&](float value) {
    const bool valid = toUnit && value != static_cast<float>(OutOfRange);
    if (m_settings.Raw && valid) {
      out += FormatAllDigits(value);
    } else {
      out += valid ? FormatMoistureValue(*toUnit, value) : std::string(kOutOfRangeText);
    }
  };
  if (spread.Valid) {
    append(spread.Min);
    out += " … ";
    append(spread.Max);
  } else {
    out += kOutOfRangeText;
  }
  if (!m_settings.Raw) return;
  for (const float result : spread.Results) {
    out += '\t';
    append(result);
  }
}

}  // namespace tavimor
