#include "request/prepared_conversion.h"

#include <cstring>

#include "core/formula_spread.h"
#include "core/moisture_format.h"
#include "core/number_text.h"
#include "core/single_precision.h"

namespace tavimor {

PreparedConversion::PreparedConversion(const ConversionRequest& request)
    : m_request(request),
      m_inputs(InputsOf(request)),
      m_conversion(m_inputs, request.Calc),
      m_propagates(PropagatesUncertainty(request)) {}

namespace {

// A row with the pressures of the row before keeps its conversion.
void SetPressure(float value, float& field, bool& changed) {
  if (std::memcmp(&value, &field, sizeof value) == 0) return;
  field = value;
  changed = true;
}

}  // namespace

void PreparedConversion::setMeasuredPressure(float value) {
  SetPressure(value, m_inputs.MeasuredPressure, m_pressuresChanged);
  if (!m_request.ComputeAt) SetPressure(value, m_inputs.ComputePressure, m_pressuresChanged);
}

void PreparedConversion::setComputePressure(float value) {
  SetPressure(value, m_inputs.ComputePressure, m_pressuresChanged);
}

std::optional<std::string_view> PreparedConversion::read(std::string_view text) {
  const auto number = ReadNumberIfAny(text);
  if (!number) return kNotANumber;
  return read(HoldSingle(*number));
}

std::optional<std::string_view> PreparedConversion::read(float value) {
  if (const auto message = FromValueRangeMessage(m_request.FromUnit, value)) return *message;
  m_inputs.FromValue = value;
  return std::nullopt;
}

void PreparedConversion::compute() {
  if (m_pressuresChanged) {
    m_conversion = MoistureConversion(m_inputs, m_request.Calc);
    m_pressuresChanged = false;
  }
  m_values = m_conversion.values(m_inputs.FromValue);
  if (m_propagates) {
    m_uncertainty = PropagateUncertainty(UncertaintyRequestOf(m_request, m_inputs), m_request.Calc);
  }
}

void PreparedConversion::appendLine(std::string& out) const {
  appendResult(out);
  if (m_request.Increment) {
    out.push_back('\t');
    appendDelta(out);
  }
  if (m_request.Spread) {
    out.push_back('\t');
    appendSpread(out);
  }
  if (m_propagates) {
    out.push_back('\t');
    appendInterval(out);
  }
}

void PreparedConversion::appendResult(std::string& out) const {
  if (m_request.Raw && m_values.ResultValid) {
    out += FormatAllDigits(m_values.Result);
  } else {
    m_conversion.appendResultText(out, m_values);
  }
}

void PreparedConversion::appendDelta(std::string& out) const {
  if (m_request.Raw && m_values.DeltaValid) {
    out += FormatAllDigits(m_values.Delta);
  } else {
    m_conversion.appendDeltaText(out, m_values);
  }
}

void PreparedConversion::appendSpread(std::string& out) const {
  const MoistureSpread spread = ComputeMoistureSpread(m_inputs, m_request.Calc);
  const auto toUnit = MoistureUnitFromIndex(m_request.ToUnit);
  const auto append = [&](float value) {
    const bool valid = toUnit && value != static_cast<float>(OutOfRange);
    if (m_request.Raw && valid) {
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
  if (!m_request.Raw) return;
  for (const float result : spread.Results) {
    out += '\t';
    append(result);
  }
}

bool PreparedConversion::intervalKnown() const {
  return m_uncertainty.Valid && m_uncertainty.HasInterval && !m_uncertainty.ReachesOutOfRange;
}

std::size_t PreparedConversion::intervalCellCount() const {
  if (!m_propagates) return 0;
  return m_request.Raw ? 3 : 2;
}

void PreparedConversion::appendIntervalCell(std::size_t cell, std::string& out) const {
  if (!intervalKnown()) {
    out += kIntervalOutOfRangeText;
    return;
  }
  if (cell == 2) {
    out += FormatAllDigits(m_uncertainty.StandardUncertainty);
    return;
  }
  const double end = cell == 0 ? m_uncertainty.Low : m_uncertainty.High;
  const auto toUnit = MoistureUnitFromIndex(m_request.ToUnit);
  if (m_request.Raw || !toUnit) {
    out += FormatAllDigits(end);
  } else {
    out += FormatMoistureValue(*toUnit, HoldSingle(end));
  }
}

void PreparedConversion::appendInterval(std::string& out) const {
  if (!intervalKnown()) {
    out += kIntervalOutOfRangeText;
    return;
  }
  for (std::size_t cell = 0; cell < intervalCellCount(); ++cell) {
    if (cell > 0) out.push_back('\t');
    appendIntervalCell(cell, out);
  }
}

}  // namespace tavimor
