#include "core/analog_output.h"

#include <cmath>

#include "core/number_text.h"
#include "core/single_precision.h"

namespace tavimor {

namespace {

constexpr double kLowCurrentMa = 4.0;
constexpr double kHighCurrentMa = 20.0;
// 1 / (20 mA - 4 mA)
constexpr double kPerSpanMa = 0.0625;
// Ohm x mA = mV, times this gives V; the program holds this factor in single precision.
constexpr float kVoltPerMillivolt = 0.001f;

// FormatFixed for finite values; C's spelling of the others, so no input can make the
// label depend on how the formatter treats them.
std::string FixedOrSpecial(double value, int decimals) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return FormatFixed(value, decimals);
}

}  // namespace

float AnalogLoopCurrentMa(const AnalogReading& reading) {
  const float value = HoldSingle(reading.Value);
  if (reading.Mode != DetectMode::Voltage) return value;
  const float milli = HoldSingle(static_cast<double>(value) * 1000.0);
  return HoldSingle(static_cast<double>(milli) / reading.ResistorOhm);
}

std::string AnalogResultText(const AnalogReading& reading) {
  const float current = AnalogLoopCurrentMa(reading);
  if (std::isnan(current) || current < kLowCurrentMa || current > kHighCurrentMa) return "Error";
  const double low = HoldSingle(reading.Low);
  const double high = HoldSingle(reading.High);
  const double result =
      low + (high - low) * (static_cast<double>(current) - kLowCurrentMa) * kPerSpanMa;
  // A range beyond single precision gives inf - inf; no measurement to show.
  if (!std::isfinite(result)) return "Error";
  return FormatFixed(result, 1);
}

std::string AnalogVoltageRangeText(double resistorOhm) {
  const double factor = static_cast<double>(kVoltPerMillivolt);
  return "Volts\n(" + FixedOrSpecial(resistorOhm * kLowCurrentMa * factor, 3) + "V to " +
         FixedOrSpecial(resistorOhm * kHighCurrentMa * factor, 3) + "V)";
}

}  // namespace tavimor
