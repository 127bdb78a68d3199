#include "physics/conversion_hub.h"
#include "physics/reference.h"

#include <cmath>

namespace tavimor::reference {

double PpmvFromPressure(double pwMbar, double pressureMbar) {
  return 1000000 * pwMbar / (pressureMbar - pwMbar);
}

double PressureFromPpmv(double ppmv, double pressureMbar) {
  return ppmv * pressureMbar / (ppmv + 1000000);
}

namespace {

bool IsUsablePressure(double pressureMbar) {
  return std::isfinite(pressureMbar) && pressureMbar > 0;
}

// No text may ever show "nan" or "inf": a result without a finite value has no answer.
double FiniteOrOutOfRange(double v) {
  return std::isfinite(v) ? v : OutOfRange;
}

double FahrenheitToCelsius(double f) {
  return (f - 32) * 5 * 0.1111111111111111;
}

// A search result stays OutOfRange; anything else becomes °F.
double CelsiusResultToFahrenheit(double c) {
  return c == OutOfRange ? OutOfRange : c * 0.2 * 9 + 32;
}

}  // namespace

double MoistureToPpmv(MoistureUnit unit, double value, double pressureMbar, const UnitParams& side,
                      const PhysicsChoice& physics) {
  if (!IsUsablePressure(pressureMbar) || !std::isfinite(value)) return OutOfRange;
  const double P = pressureMbar;
  double pw;
  switch (unit) {
    case MoistureUnit::PartialPressure:
      pw = value;
      break;
    case MoistureUnit::DewFrostPointC:
      pw = reference::SaturationPressureDewFrost(value, P, physics);
      break;
    case MoistureUnit::DewFrostPointF:
      pw = reference::SaturationPressureDewFrost(FahrenheitToCelsius(value), P, physics);
      break;
    case MoistureUnit::DewPointC:
      pw = reference::SaturationPressureWater(value, P, physics);
      break;
    case MoistureUnit::DewPointF:
      pw = reference::SaturationPressureWater(FahrenheitToCelsius(value), P, physics);
      break;
    case MoistureUnit::Ppmv:
      return value;
    case MoistureUnit::PpmwGas:
      return FiniteOrOutOfRange(value * side.MolWeight * 0.05555555555555555);  // * MW / 18
    case MoistureUnit::LbsPerMmscf:
      pw = reference::PressureFromGasWaterContent(value, P, physics);
      break;
    case MoistureUnit::GramsPerM3:
      pw = reference::PressureFromVaporDensity(value, P, side.VaporTempC, side.DensityMedium,
                                               physics);
      break;
    case MoistureUnit::RelHumidity:
      pw = reference::SaturationPressureWater(side.AmbientTempC, P, physics) * value * 0.01;
      break;
    case MoistureUnit::PpmwLiquid:
      pw = value / side.HenryK;
      break;
    default:
      return OutOfRange;
  }
  if (pw == OutOfRange) return OutOfRange;
  return FiniteOrOutOfRange(reference::PpmvFromPressure(pw, P));
}

double PpmvToMoisture(MoistureUnit unit, double ppmv, double pressureMbar, const UnitParams& side,
                      double pressure2Mbar, const PhysicsChoice& physics) {
  const bool usesSecondPressure =
      unit == MoistureUnit::LbsPerMmscf || unit == MoistureUnit::GramsPerM3;
  const double P = pressureMbar;
  const double P2 = pressure2Mbar;
  if (!IsUsablePressure(P) || (usesSecondPressure && !IsUsablePressure(P2)) ||
      !std::isfinite(ppmv)) {
    return OutOfRange;
  }
  const double pw = reference::PressureFromPpmv(ppmv, usesSecondPressure ? P2 : P);
  double result;
  switch (unit) {
    case MoistureUnit::PartialPressure:
      result = pw;
      break;
    case MoistureUnit::DewFrostPointC:
      result = reference::DewFrostPointFromPressure(pw, P, physics);
      break;
    case MoistureUnit::DewFrostPointF:
      result = CelsiusResultToFahrenheit(reference::DewFrostPointFromPressure(pw, P, physics));
      break;
    case MoistureUnit::DewPointC:
      result = reference::DewPointFromPressure(pw, P, physics);
      break;
    case MoistureUnit::DewPointF:
      result = CelsiusResultToFahrenheit(reference::DewPointFromPressure(pw, P, physics));
      break;
    case MoistureUnit::Ppmv:
      result = ppmv;
      break;
    case MoistureUnit::PpmwGas:
      result = ppmv * 18 / side.MolWeight;
      break;
    case MoistureUnit::LbsPerMmscf:
      result = reference::GasWaterContent(pw, P2, physics);
      break;
    case MoistureUnit::GramsPerM3:
      result = reference::VaporDensity(pw, P2, side.VaporTempC, side.DensityMedium, physics);
      break;
    case MoistureUnit::RelHumidity:
      result = pw / reference::SaturationPressureWater(side.AmbientTempC, P, physics) * 100;
      break;
    case MoistureUnit::PpmwLiquid:
      result = pw * side.HenryK;
      break;
    default:
      return OutOfRange;
  }
  return FiniteOrOutOfRange(result);
}

}  // namespace tavimor::reference
