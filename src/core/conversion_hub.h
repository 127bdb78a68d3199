#pragma once

#include "core/natural_gas.h"

namespace tavimor {

// ppmv = moles of water per million moles of dry gas.
double PpmvFromPressure(double pwMbar, double pressureMbar);
double PressureFromPpmv(double ppmv, double pressureMbar);

// A value in a unit at total pressure P (mbar) to ppmv, or OutOfRange. A total pressure that
// is not above 0, a value that is not finite and a result that is not finite all give
// OutOfRange: such a conversion has no meaningful answer.
double MoistureToPpmv(MoistureUnit unit, double value, double pressureMbar, const UnitParams& side,
                      const PhysicsChoice& physics);

// ppmv to a value in a unit at pressure P, or OutOfRange. P2 (mbar) is used only by the
// lb/MMSCF and g/m³ units; every caller passes the From (measured) pressure.
double PpmvToMoisture(MoistureUnit unit, double ppmv, double pressureMbar, const UnitParams& side,
                      double pressure2Mbar, const PhysicsChoice& physics);

}  // namespace tavimor
