#pragma once

#include "ui/panel_controls.h"

namespace tavimor::analog_ids {

// Control identifiers of the analog output panel (template 135); each is the widget's objectName.
enum AnalogControl : int {
  kDecoration = kDecorationControl,
  kLowValue = 1052,       // instrument value sent as 4 mA
  kHighValue = 1053,      // instrument value sent as 20 mA
  kDetectCurrent = 1054,  // option: the reading is a current in mA
  kDetectVoltage = 1055,  // option: the reading is a voltage across a resistor
  kResistor = 1056,
  kReading = 1057,
  kResult = 1058,
  kResistorLabel = 1059,
  kReadingUnit = 1060,
};

}  // namespace tavimor::analog_ids
