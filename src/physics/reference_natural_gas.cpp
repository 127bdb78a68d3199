#include "physics/natural_gas.h"
#include "physics/reference.h"

#include <cmath>

namespace tavimor::reference {

namespace {

bool UsesIgt(const PhysicsChoice& physics) {
  return static_cast<int16_t>(physics.GasMethod) == static_cast<int16_t>(GasMethod::IgtBulletin8);
}

}  // namespace

// IGT Bulletin 8 correlation, or the ASTM polynomial in the dew point (°F) and the total
// pressure (psia). pw and P in mbar; result in lb per million standard cubic feet.
double GasWaterContent(double pwMbar, double pressureMbar, const PhysicsChoice& physics) {
  if (UsesIgt(physics)) {
    return 0.92 * std::pow(pwMbar, 0.73) + pwMbar * (47470.5 / pressureMbar - 0.12);
  }
  const double td = reference::DewPointFromPressure(pwMbar, pressureMbar, physics);
  if (td == OutOfRange) return OutOfRange;
  const double tF = td * 0.2 * 9 + 32;
  const double A = std::exp(
      ((((-2.25205162e-10 * tF + 2.15321192e-07) * tF - 0.000112108182) * tF + 0.0469221195) * tF +
       6.95153403));
  const double B =
      ((((3.20779439e-11 * tF + 2.60545283e-08) * tF + 3.13802397e-06) * tF + 0.000489340021) * tF +
       0.033633329) *
          tF +
      0.961729929;
  return A / (pressureMbar * 0.01450377) + B;
}

// Bisection around the IGT estimate without its power term: moves of 25 mbar down to
// 50 / 2^28, accepting c when the content crosses W within 1e-07 mbar. A trial whose content
// is not a number (a negative pw under IGT) counts as below W going up and as accepted going
// down.
double PressureFromGasWaterContent(double lbPerMmscf, double pressureMbar,
                                   const PhysicsChoice& physics) {
  const double W = lbPerMmscf;
  double c = W / (47470.5 / pressureMbar - 0.12);
  double step = 50;
  for (;;) {
    double half;
    double v = reference::GasWaterContent(c + 1e-07, pressureMbar, physics);
    if (v < W || std::isnan(v)) {
      half = step * 0.5;
      c = c + half;
    } else {
      v = reference::GasWaterContent(c - 1e-07, pressureMbar, physics);
      if (v <= W || std::isnan(v)) return c;
      half = step * 0.5;
      c = c - half;
    }
    step = half;
    if (half < 1e-07) return OutOfRange;
  }
}

}  // namespace tavimor::reference
