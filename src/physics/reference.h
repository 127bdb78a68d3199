#pragma once

// The literal conversion algorithms, kept unchanged as the yardstick of the fast path: every
// public function of saturation.h, dew_point.h, natural_gas.h and conversion_hub.h must give
// the same bits as its namesake here. Used by the equivalence tests and the benchmarks only.

#include "physics/calc_settings.h"
#include "physics/saturation.h"
#include "physics/unit_tables.h"

namespace tavimor::reference {

double SaturationPressureWater(double tC, double pressureMbar, const PhysicsChoice& physics);
double SaturationPressureDewFrost(double tC, double pressureMbar, const PhysicsChoice& physics);

double RoundToPowerOfTen(double v, int n);
double DewPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics);
double DewFrostPointFromPressure(double xMbar, double pressureMbar, const PhysicsChoice& physics);

double GasWaterContent(double pwMbar, double pressureMbar, const PhysicsChoice& physics);
double VaporDensity(double pwMbar, double pressureMbar, double tVapC, DensityMedium medium,
                    const PhysicsChoice& physics);
double PressureFromGasWaterContent(double lbPerMmscf, double pressureMbar,
                                   const PhysicsChoice& physics);
double PressureFromVaporDensity(double gramsPerM3, double pressureMbar, double tVapC,
                                DensityMedium medium, const PhysicsChoice& physics);

double PpmvFromPressure(double pwMbar, double pressureMbar);
double PressureFromPpmv(double ppmv, double pressureMbar);
double MoistureToPpmv(MoistureUnit unit, double value, double pressureMbar, const UnitParams& side,
                      const PhysicsChoice& physics);
double PpmvToMoisture(MoistureUnit unit, double ppmv, double pressureMbar, const UnitParams& side,
                      double pressure2Mbar, const PhysicsChoice& physics);

}  // namespace tavimor::reference
