#pragma once

#include <cstdint>

#include "core/calc_settings.h"

namespace tavimor {

// The Moisture/Humidity panel's units, the parameters its From number stands under, and the
// zoom flag; one record for the whole run, beside CalcSettings, reloaded from the saved
// selections at every creation of the panel.
struct MoisturePanelState {
  int32_t FromUnit = 1;              // MoistureUnit the From number is expressed in
  int32_t ToUnit = 1;                // the To list's selection
  int32_t MeasuredPressureUnit = 0;  // PressureUnit index of the measured pressure field
  int32_t ComputePressureUnit = 0;   // PressureUnit index of the compute-at pressure field
  bool ZoomHeld = false;             // true while the left button is held on the zoom button
  // The From-side parameters under which the number in the From field was entered; they
  // follow the From side at each From unit change and each load.
  BasisParams FromBasis;
};

}  // namespace tavimor
