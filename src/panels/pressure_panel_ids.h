#pragma once

#include "ui/panel_controls.h"

namespace tavimor::pressure_ids {

// Control identifiers of the pressure panel (template 134); each is the widget's objectName.
enum PressureControl : int {
  kDecoration = kDecorationControl,
  kFromUnit = 1061,
  kFromValue = 1062,
  kResult = 1063,
  kToUnit = 1064,
};

}  // namespace tavimor::pressure_ids
