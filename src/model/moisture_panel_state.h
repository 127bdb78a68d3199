#pragma once

#include <cstdint>

namespace tavimor {

// The Moisture/Humidity panel's units and zoom flag; one record for the whole run, beside
// CalcSettings, reloaded from the saved selections at every creation of the panel.
struct MoisturePanelState {
  int32_t FromUnit = 1;              // MoistureUnit the From number is expressed in
  int32_t ToUnit = 1;                // set from the To list at every recomputation
  int32_t MeasuredPressureUnit = 0;  // PressureUnit index of the measured pressure field
  int32_t ComputePressureUnit = 0;   // PressureUnit index of the compute-at pressure field
  bool ZoomHeld = false;             // true while the left button is held on the zoom button
};

}  // namespace tavimor
