#pragma once

#include "core/dew_point.h"

namespace tavimor {

// Water content of natural gas, lb per million standard cubic feet, of the partial pressure
// pw at total pressure P (mbar), by IGT Bulletin 8 or ASTM; OutOfRange when the ASTM dew
// point is out of reach.
double GasWaterContent(double pwMbar, double pressureMbar, const PhysicsChoice& physics);

// Vapour density, g/m³, for the medium; tVapC in °C (unused for natural gas).
double VaporDensity(double pwMbar, double pressureMbar, double tVapC, DensityMedium medium,
                    const PhysicsChoice& physics);

// Partial pressure (mbar) of a water content W, or OutOfRange.
double PressureFromGasWaterContent(double lbPerMmscf, double pressureMbar,
                                   const PhysicsChoice& physics);

// Partial pressure (mbar) of a vapour density D (g/m³), or OutOfRange (natural gas only).
double PressureFromVaporDensity(double gramsPerM3, double pressureMbar, double tVapC,
                                DensityMedium medium, const PhysicsChoice& physics);

}  // namespace tavimor
