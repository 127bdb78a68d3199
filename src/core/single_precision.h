#pragma once

#include <cfloat>
#include <cmath>

namespace tavimor {

// Rounds a double to the single-precision value it is held in. Values beyond the
// float range become infinite as IEEE rounding says, without the undefined behaviour of a
// plain cast of an out-of-range double. Written as selects rather than branches, so that a
// loop over a column of values runs two of them to an instruction.
inline float HoldSingle(double v) {
  const double magnitude = std::fabs(v);
  // Half an ulp of FLT_MAX (2^103) above it still rounds down to FLT_MAX.
  const double limit = static_cast<double>(FLT_MAX) + 0x1p103;
  const double beyond = magnitude >= limit ? static_cast<double>(INFINITY) : FLT_MAX;
  const bool finiteBeyond = magnitude > static_cast<double>(FLT_MAX) && magnitude <= DBL_MAX;
  return static_cast<float>(finiteBeyond ? std::copysign(beyond, v) : v);
}

}  // namespace tavimor
