#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/moisture_conversion.h"
#include "core/uncertainty.h"
#include "request/conversion_request.h"

namespace tavimor {

// A request decided once: its inputs and physics are chosen when it is made, so that any
// number of values convert without reading a name or an option again. One value at a time,
// as typed into the panel's From field; a copy per thread.
class PreparedConversion {
 public:
  explicit PreparedConversion(const ConversionRequest& request);

  const ConversionRequest& request() const { return m_request; }
  // The engine's inputs (the From value of the last value read) and settings.
  const MoistureInputs& inputs() const { return m_inputs; }
  const CalcSettings& settings() const { return m_request.Calc; }
  // The conversion at the current pressures.
  const MoistureConversion& conversion() const { return m_conversion; }

  // A row's own pressures, as numbers in the units of the request. Computing at the
  // measured pressure, the compute-at pressure follows the measured one.
  void setMeasuredPressure(float value);
  void setComputePressure(float value);
  // A row's own uncertainty of the From value.
  void setFromUncertainty(ValueUncertainty u) { m_request.FromUncertainty = u; }

  // Reads a value as the From field reads a text (or a number, held in single precision)
  // and converts it; the reason when it is refused: not a number, or outside the From unit's
  // range.
  std::optional<std::string_view> convert(std::string_view text) {
    auto refused = read(text);
    if (!refused) compute();
    return refused;
  }
  std::optional<std::string_view> convert(float value) {
    auto refused = read(value);
    if (!refused) compute();
    return refused;
  }

  // The two halves of convert: reading the value, then converting it at the pressures set.
  std::optional<std::string_view> read(std::string_view text);
  std::optional<std::string_view> read(float value);
  void compute();

  // The held values of the last value converted; its texts are formed only when appended.
  const MoistureValues& values() const { return m_values; }
  // The propagation of the request's uncertainties to the last value converted (not Valid
  // when the request asks for none).
  const UncertaintyResult& uncertainty() const { return m_uncertainty; }

  // The output line of the last value converted, without its line end: the result; with an
  // increment a tab and the delta; with the spread a tab and the spread; with uncertainties a
  // tab and the interval. This is the line tavimor-convert prints and the Python package's
  // convert_text returns.
  void appendLine(std::string& out) const;
  // Its parts. The result and the delta: the text the panel shows, or with Raw every digit
  // of the held value. The spread over the formulas and enhancement factors: "MIN … MAX" in
  // the To unit's format ("out of range" where no choice answers); with Raw then each
  // choice's result, tab-separated, in the order of kPhysicsCombinations.
  void appendResult(std::string& out) const;
  void appendDelta(std::string& out) const;
  void appendSpread(std::string& out) const;
  // The 95 % coverage interval, as cells: the low and the high end in the To unit's format,
  // or with Raw every digit, and with Raw then the standard uncertainty. Where the
  // distribution reaches out of range, or the result has none, the ends are not known: each
  // cell says so (kIntervalOutOfRangeText), and on the line one cell says it for all.
  std::size_t intervalCellCount() const;  // 0 when the request asks for no uncertainty
  void appendIntervalCell(std::size_t cell, std::string& out) const;
  void appendInterval(std::string& out) const;  // the cells, tab-separated

 private:
  bool intervalKnown() const;

  ConversionRequest m_request;
  MoistureInputs m_inputs;
  MoistureConversion m_conversion;
  bool m_pressuresChanged = false;
  MoistureValues m_values;
  bool m_propagates = false;
  UncertaintyResult m_uncertainty;
};

// What is printed instead of a line for a value that is refused.
inline constexpr std::string_view kErrorLine = "error";

// What the interval's cells say where its ends are not known.
inline constexpr std::string_view kIntervalOutOfRangeText = "interval reaches out of range";

// The reason given for a text without a number.
inline constexpr std::string_view kNotANumber = "not a number";

}  // namespace tavimor
