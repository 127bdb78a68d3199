#pragma once

#include "store/moisture_options.h"
#include "ui/panel_controls.h"

namespace tavimor::moisture_ids {

// Control identifiers of the Moisture/Humidity panel (template 132); each is the widget's
// objectName.
enum MoistureControl : int {
  kDecoration = kDecorationControl,
  kFromValue = 1004,
  kFromUnit = 1005,
  kMeasuredPressureUnit = 1006,
  kMeasuredPressure = 1007,
  kGraph = 1008,
  kResult = 1009,
  kToUnit = 1010,
  kComputePressure = 1011,
  kComputePressureUnit = 1012,
  kIncrement = 1018,
  kDelta = 1019,
  kZoomButton = 1047,
  kIsobarCaption = 1049,
};

// The option buttons, whose identifiers are the choices they stand for.
using tavimor::kComputeAtMeasured;
using tavimor::kComputeAtPressure;
using tavimor::kIsobarComputed;
using tavimor::kIsobarMeasured;
using tavimor::kIsobarNone;

}  // namespace tavimor::moisture_ids
