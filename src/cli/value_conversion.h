#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/convert_options.h"
#include "core/moisture_conversion.h"

namespace tavimor {

// One value at a time, as typed into the panel's From field, into the To unit, at the
// pressures of the settings or at pressures given for the value.
class ValueConversion {
 public:
  explicit ValueConversion(const ConvertSettings& settings);

  // The pressure fields' numbers for the next values, in the units of the settings.
  void setMeasuredPressure(float value) { m_inputs.MeasuredPressure = value; }
  void setComputePressure(float value) { m_inputs.ComputePressure = value; }

  // Converts text; the reason when it is refused (not a number, outside the From range).
  std::optional<std::string_view> convert(std::string_view text) {
    auto refused = read(text);
    if (!refused) compute();
    return refused;
  }

  // The two halves of convert: reading the value, then converting it at the pressures set.
  std::optional<std::string_view> read(std::string_view text);
  void compute();

  // The text of the last result, and of its delta: the panel's text, or with --raw every
  // digit of the held value.
  void appendResult(std::string& out) const;
  void appendDelta(std::string& out) const;
  // The spread of the last value over the formulas and enhancement factors: "min … max" in
  // the To unit's format ("out of range" where no combination answers); with --raw then
  // each combination's result, tab-separated, in the order of kPhysicsCombinations.
  void appendSpread(std::string& out) const;

 private:
  const ConvertSettings& m_settings;
  MoistureInputs m_inputs;
  MoistureResults m_results;
};

}  // namespace tavimor
