#include "core/conversion_steps.h"
#include "reference/reference.h"

namespace tavimor::reference {

namespace {

// The literal searches.
struct LiteralSearches {
  static double DewPointFromPressure(double x, double p, const PhysicsChoice& c) {
    return reference::DewPointFromPressure(x, p, c);
  }
  static double DewFrostPointFromPressure(double x, double p, const PhysicsChoice& c) {
    return reference::DewFrostPointFromPressure(x, p, c);
  }
  static double GasWaterContent(double pw, double p, const PhysicsChoice& c) {
    return reference::GasWaterContent(pw, p, c);
  }
  static double PressureFromGasWaterContent(double w, double p, const PhysicsChoice& c) {
    return reference::PressureFromGasWaterContent(w, p, c);
  }
};

}  // namespace

double MoistureToPpmv(MoistureUnit unit, double value, double pressureMbar, const UnitParams& side,
                      const PhysicsChoice& physics) {
  return steps::MoistureToPpmv<LiteralSearches>(unit, value, pressureMbar, side, physics);
}

double PpmvToMoisture(MoistureUnit unit, double ppmv, double pressureMbar, const UnitParams& side,
                      double pressure2Mbar, const PhysicsChoice& physics) {
  return steps::PpmvToMoisture<LiteralSearches>(unit, ppmv, pressureMbar, side, pressure2Mbar,
                                                physics);
}

double VaporDensity(double pwMbar, double pressureMbar, double tVapC, DensityMedium medium,
                    const PhysicsChoice& physics) {
  return steps::VaporDensity<LiteralSearches>(pwMbar, pressureMbar, tVapC, medium, physics);
}

double PressureFromVaporDensity(double gramsPerM3, double pressureMbar, double tVapC,
                                DensityMedium medium, const PhysicsChoice& physics) {
  return steps::PressureFromVaporDensity<LiteralSearches>(gramsPerM3, pressureMbar, tVapC, medium,
                                                          physics);
}

}  // namespace tavimor::reference
