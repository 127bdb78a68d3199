#pragma once

namespace tavimor::analog_ids {

// Control identifiers of the analog output panel (template 135); each is the widget's objectName.
inline constexpr int kDecoration = 1048;
inline constexpr int kLowValue = 1052;       // instrument value sent as 4 mA
inline constexpr int kHighValue = 1053;      // instrument value sent as 20 mA
inline constexpr int kDetectCurrent = 1054;  // option: the reading is a current in mA
inline constexpr int kDetectVoltage = 1055;  // option: the reading is a voltage across a resistor
inline constexpr int kResistor = 1056;
inline constexpr int kReading = 1057;
inline constexpr int kResult = 1058;
inline constexpr int kResistorLabel = 1059;
inline constexpr int kReadingUnit = 1060;

}  // namespace tavimor::analog_ids
