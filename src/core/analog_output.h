#pragma once

#include <cstdint>
#include <string>

namespace tavimor {

// How the 4-20 mA loop is read: the identifiers of the analog panel's two option buttons.
enum class DetectMode : int32_t { Current = 1054, Voltage = 1055 };

// The analog panel's fields, each already read as a number.
struct AnalogReading {
  double Value = 0;   // the value read on the loop: mA, or V across the resistor
  double Low = -100;  // instrument value sent as 4 mA
  double High = 20;   // instrument value sent as 20 mA
  DetectMode Mode = DetectMode::Current;
  double ResistorOhm = 250;  // used in voltage mode only
};

// The loop current in mA, held in single precision; in voltage mode
// (value x 1000, single) / R, single. NaN or infinite for a resistor of 0.
float AnalogLoopCurrentMa(const AnalogReading& reading);

// The instrument's measurement "%.1f" by linear interpolation over 4..20 mA, or "Error"
// when the current lies outside 4..20 mA, is not a number, or the measurement overflows.
std::string AnalogResultText(const AnalogReading& reading);

// "Volts\n(%.3fV to %.3fV)": the voltages that 4 mA and 20 mA produce across the resistor.
std::string AnalogVoltageRangeText(double resistorOhm);

}  // namespace tavimor
