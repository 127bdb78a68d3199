#pragma once

#include <cfloat>
#include <cmath>

namespace tavimor {

// Rounds a double to the single-precision value it is held in. Values beyond the
// float range become infinite as IEEE rounding says, without the undefined behaviour of a
// plain cast of an out-of-range double.
inline float HoldSingle(double v) {
  if (std::isfinite(v) && std::fabs(v) > static_cast<double>(FLT_MAX)) {
    // Half an ulp of FLT_MAX (2^103) above it still rounds down to FLT_MAX.
    const double limit = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
    if (std::fabs(v) >= limit) return v > 0 ? INFINITY : -INFINITY;
    return v > 0 ? FLT_MAX : -FLT_MAX;
  }
  return static_cast<float>(v);
}

}  // namespace tavimor
