#include "cli/value_conversion.h"

#include "core/number_text.h"
#include "core/single_precision.h"

namespace tavimor {

namespace {

void AppendHeld(bool raw, bool valid, float value, const std::string& text, std::string& out) {
  if (raw && valid) {
    out += FormatAllDigits(value);
  } else {
    out += text;
  }
}

}  // namespace

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
  if (!ReadsAsNumber(text)) return "not a number";
  const float value = HoldSingle(ReadNumber(text));
  if (const auto message = FromValueRangeMessage(m_settings.FromUnit, value)) return *message;
  m_inputs.FromValue = value;
  return std::nullopt;
}

void ValueConversion::compute() {
  m_results = ComputeMoistureResults(m_inputs, m_settings.Calc);
}

void ValueConversion::appendResult(std::string& out) const {
  AppendHeld(m_settings.Raw, m_results.ResultValid, m_results.Result, m_results.ResultText, out);
}

void ValueConversion::appendDelta(std::string& out) const {
  AppendHeld(m_settings.Raw, m_results.DeltaValid, m_results.Delta, m_results.DeltaText, out);
}

}  // namespace tavimor
