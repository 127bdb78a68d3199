#pragma once

#include "core/saturation.h"

namespace tavimor {

// The in-band "no answer" of every search; callers compare by exact equality, also after
// the value was held in single precision.
inline constexpr double OutOfRange = -10000.0;

inline bool IsOutOfRange(double v) {
  return v == OutOfRange;
}

// v rounded half up (towards plus infinity) to a multiple of 10^n.
double RoundToPowerOfTen(double v, int n);

// Dew point in °C over water of the partial pressure x (mbar) at total pressure P (mbar):
// a grid point that is a multiple of 0.01, or OutOfRange.
double DewPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics);

// Dew/frost point in °C (over ice below 0 °C), or OutOfRange.
double DewFrostPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics);

}  // namespace tavimor
