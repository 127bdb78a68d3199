#include "core/conversion_steps.h"
#include "core/natural_gas.h"
#include "reference/reference.h"

#include <cmath>

namespace tavimor::reference {

// IGT Bulletin 8 correlation, or the ASTM polynomial in the dew point (°F) and the total
// pressure (psia). pw and P in mbar; result in lb per million standard cubic feet.
double GasWaterContent(double pwMbar, double pressureMbar, const PhysicsChoice& physics) {
  if (steps::UsesIgt(physics)) return steps::IgtWaterContent(pwMbar, pressureMbar);
  return steps::AstmWaterContent(reference::DewPointFromPressure(pwMbar, pressureMbar, physics),
                                 pressureMbar);
}

// The bisection with a full content evaluation at every trial.
double PressureFromGasWaterContent(double lbPerMmscf, double pressureMbar,
                                   const PhysicsChoice& physics) {
  return steps::SearchGasWaterContent(lbPerMmscf, pressureMbar, [&](double pw) {
    return reference::GasWaterContent(pw, pressureMbar, physics);
  });
}

}  // namespace tavimor::reference
