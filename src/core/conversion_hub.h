#pragma once

#include <span>

#include "core/natural_gas.h"

namespace tavimor {

// ppmv = moles of water per million moles of dry gas.
inline double PpmvFromPressure(double pwMbar, double pressureMbar) {
  return 1000000 * pwMbar / (pressureMbar - pwMbar);
}
inline double PressureFromPpmv(double ppmv, double pressureMbar) {
  return ppmv * pressureMbar / (ppmv + 1000000);
}

// A value in a unit at total pressure P (mbar) to ppmv, or OutOfRange. A total pressure that
// is not above 0, a value that is not finite and a result that is not finite all give
// OutOfRange: such a conversion has no meaningful answer.
double MoistureToPpmv(MoistureUnit unit, double value, double pressureMbar, const UnitParams& side,
                      const PhysicsChoice& physics);

// ppmv to a value in a unit at pressure P, or OutOfRange. P2 (mbar) is used only by the
// lb/MMSCF and g/m³ units; every caller passes the From (measured) pressure.
double PpmvToMoisture(MoistureUnit unit, double ppmv, double pressureMbar, const UnitParams& side,
                      double pressure2Mbar, const PhysicsChoice& physics);

// The same over a column of values: out[i] is the bits of one call for the i-th value, and
// out holds at least as many values as the column. Each choice is made once for the column,
// and the dew- and frost-point units take their saturation pressures in a loop of their own,
// so that the machine overlaps the work of neighbouring values.
void MoistureToPpmvColumn(MoistureUnit unit, std::span<const double> values, double pressureMbar,
                          const UnitParams& side, const PhysicsChoice& physics,
                          std::span<double> out);
void PpmvToMoistureColumn(MoistureUnit unit, std::span<const double> ppmv, double pressureMbar,
                          const UnitParams& side, double pressure2Mbar,
                          const PhysicsChoice& physics, std::span<double> out);

}  // namespace tavimor
