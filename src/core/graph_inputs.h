#pragma once

#include "core/calc_settings.h"

namespace tavimor {

// The pressure whose double and quadruple the isobars are drawn at, if any.
enum class GraphIsobars { None, AtMeasured, AtComputeAt };

// What the conversion graph is painted from: the panel's values at one paint.
struct GraphInputs {
  double FromValue = 0;  // From field read as a number, double precision
  int FromUnit = 1;      // selection of the From unit list, -1 for none
  int ToUnit = 1;        // selection of the To unit list, -1 for none
  // Both pressures read from their fields and unit lists exactly as the panel reads them:
  // millibar, rounded to 0.01 and held in single precision (NaN for a list without a row).
  float MeasuredPressureMbar = 1013.25f;
  float ComputePressureMbar = 1013.25f;
  GraphIsobars Isobars = GraphIsobars::None;
  bool ZoomHeld = false;
  CalcSettings Settings;  // From and To side parameters and the physics choices
};

}  // namespace tavimor
