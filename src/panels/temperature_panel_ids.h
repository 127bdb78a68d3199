#pragma once

#include "ui/panel_controls.h"

namespace tavimor::temperature_ids {

// Control identifiers of the temperature panel (template 133); each is the widget's objectName.
enum TemperatureControl : int {
  kDecoration = kDecorationControl,
  kFromValue = 1065,
  kFromUnit = 1066,
  kResult = 1067,
  kToUnit = 1068,
  kSentence = 1069,
};

}  // namespace tavimor::temperature_ids
