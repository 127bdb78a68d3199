#pragma once

// The literal conversion algorithms, kept unchanged as the yardstick of the fast path: every
// public function of saturation.h, dew_point.h, natural_gas.h and conversion_hub.h must give
// the same bits as its namesake here. Used by the equivalence tests and the benchmarks only.

#include "core/calc_settings.h"
#include "core/conversion_hub.h"
#include "core/saturation.h"
#include "core/unit_tables.h"

namespace tavimor::reference {

// These have one form only: the saturation formulas, the rounding and the ppmv relations are
// evaluated literally on both paths.
using tavimor::PpmvFromPressure;
using tavimor::PressureFromPpmv;
using tavimor::RoundToPowerOfTen;
using tavimor::SaturationPressureDewFrost;
using tavimor::SaturationPressureWater;

double DewPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics);
double DewFrostPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics);

double GasWaterContent(double pwMbar, double pressureMbar, const PhysicsChoice& physics);
double VaporDensity(double pwMbar, double pressureMbar, double tVapC, DensityMedium medium,
                    const PhysicsChoice& physics);
double PressureFromGasWaterContent(double lbPerMmscf, double pressureMbar,
                                   const PhysicsChoice& physics);
double PressureFromVaporDensity(double gramsPerM3, double pressureMbar, double tVapC,
                                DensityMedium medium, const PhysicsChoice& physics);

double MoistureToPpmv(MoistureUnit unit, double value, double pressureMbar, const UnitParams& side,
                      const PhysicsChoice& physics);
double PpmvToMoisture(MoistureUnit unit, double ppmv, double pressureMbar, const UnitParams& side,
                      double pressure2Mbar, const PhysicsChoice& physics);

}  // namespace tavimor::reference
