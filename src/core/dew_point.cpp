#include "core/dew_point.h"

#include <cmath>

#include "core/dew_point_grid.h"

namespace tavimor {

double RoundToPowerOfTen(double v, int n) {
  const double b = std::pow(10.0, n);
  const double y = v / b;
  double k = std::floor(y);
  if (y - k >= 0.5) k += 1;
  return k * b;
}

// Both searches run on the calling thread's cached grid (dew_point_grid.h), which gives
// the literal search's result bit for bit.
double DewPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics) {
  return DewPointGrid(SaturationOperation::Water, pressureMbar, physics).search(xMbar);
}

double DewFrostPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics) {
  return DewPointGrid(SaturationOperation::DewFrost, pressureMbar, physics).search(xMbar);
}

}  // namespace tavimor
