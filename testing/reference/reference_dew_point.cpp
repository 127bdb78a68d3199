#include "core/dew_point.h"
#include "reference/reference.h"

#include <cmath>

namespace tavimor::reference {

namespace {

// Bisection on a fixed grid from -40 °C: the step is halved before it is applied, so at most
// 14 points are tested and the answer is the first grid point whose ±0.01 °C neighbours
// bracket x. The grid point itself is the answer, not an interpolated root.
template <class Saturation>
double SearchDewPoint(double x, Saturation saturation) {
  double a = -40.0;
  double step = 100.0;
  for (;;) {
    double half;
    if (saturation(a + 0.01) < x) {
      half = step * 0.5;
      a = a + half;
    } else if (saturation(a - 0.01) <= x) {
      return reference::RoundToPowerOfTen(a, -2);
    } else {
      half = step * 0.5;
      a = a - half;
    }
    step = half;
    if (half < 0.01) return OutOfRange;
  }
}

}  // namespace

double DewPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics) {
  return SearchDewPoint(xMbar, [&](double t) {
    return reference::SaturationPressureWater(t, pressureMbar, physics);
  });
}

double DewFrostPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics) {
  return SearchDewPoint(xMbar, [&](double t) {
    return reference::SaturationPressureDewFrost(t, pressureMbar, physics);
  });
}

}  // namespace tavimor::reference
