#include "core/conversion_hub.h"

#include "core/conversion_steps.h"

namespace tavimor {

double PpmvFromPressure(double pwMbar, double pressureMbar) {
  return 1000000 * pwMbar / (pressureMbar - pwMbar);
}

double PressureFromPpmv(double ppmv, double pressureMbar) {
  return ppmv * pressureMbar / (ppmv + 1000000);
}

namespace {

// The searches of the fast path.
struct FastSearches {
  static double DewPointFromPressure(double x, double p, const PhysicsChoice& c) {
    return tavimor::DewPointFromPressure(x, p, c);
  }
  static double DewFrostPointFromPressure(double x, double p, const PhysicsChoice& c) {
    return tavimor::DewFrostPointFromPressure(x, p, c);
  }
  static double GasWaterContent(double pw, double p, const PhysicsChoice& c) {
    return tavimor::GasWaterContent(pw, p, c);
  }
  static double PressureFromGasWaterContent(double w, double p, const PhysicsChoice& c) {
    return tavimor::PressureFromGasWaterContent(w, p, c);
  }
};

}  // namespace

double MoistureToPpmv(MoistureUnit unit, double value, double pressureMbar, const UnitParams& side,
                      const PhysicsChoice& physics) {
  return steps::MoistureToPpmv<FastSearches>(unit, value, pressureMbar, side, physics);
}

double PpmvToMoisture(MoistureUnit unit, double ppmv, double pressureMbar, const UnitParams& side,
                      double pressure2Mbar, const PhysicsChoice& physics) {
  return steps::PpmvToMoisture<FastSearches>(unit, ppmv, pressureMbar, side, pressure2Mbar,
                                             physics);
}

double VaporDensity(double pwMbar, double pressureMbar, double tVapC, DensityMedium medium,
                    const PhysicsChoice& physics) {
  return steps::VaporDensity<FastSearches>(pwMbar, pressureMbar, tVapC, medium, physics);
}

double PressureFromVaporDensity(double gramsPerM3, double pressureMbar, double tVapC,
                                DensityMedium medium, const PhysicsChoice& physics) {
  return steps::PressureFromVaporDensity<FastSearches>(gramsPerM3, pressureMbar, tVapC, medium,
                                                       physics);
}

}  // namespace tavimor
