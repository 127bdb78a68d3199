#pragma once

#include <cstdint>

namespace tavimor {

// The option buttons of the Moisture/Humidity panel. The identifier of the checked button is
// the choice; it is what the saved selections store (IsoAndPrsr), and the panel and its
// model use it.
enum IsobarChoice : int32_t {
  kIsobarMeasured = 1013,  // isobars at 2x and 4x the measured pressure
  kIsobarNone = 1014,
  kIsobarComputed = 1015,  // isobars at 2x and 4x the compute-at pressure
};
enum PressureChoice : int32_t {
  kComputeAtMeasured = 1016,
  kComputeAtPressure = 1017,
};

}  // namespace tavimor
