#pragma once

// The conversion hub and the vapour-density steps written once over the searches they call,
// so the fast path and the literal reference cannot drift apart. Ops supplies
// DewPointFromPressure, DewFrostPointFromPressure, GasWaterContent and
// PressureFromGasWaterContent; the saturation operations have a single form.

#include <cmath>

#include "physics/conversion_hub.h"

namespace tavimor::steps {

inline bool IsUsablePressure(double pressureMbar) {
  return std::isfinite(pressureMbar) && pressureMbar > 0;
}

// No text may ever show "nan" or "inf": a result without a finite value has no answer.
inline double FiniteOrOutOfRange(double v) {
  return std::isfinite(v) ? v : OutOfRange;
}

inline double FahrenheitToCelsius(double f) {
  return (f - 32) * 5 * 0.1111111111111111;
}

// A search result stays OutOfRange; anything else becomes °F.
inline double CelsiusResultToFahrenheit(double c) {
  return c == OutOfRange ? OutOfRange : c * 0.2 * 9 + 32;
}

inline constexpr double kLbPerMmscfPerGramPerM3 = 62.428;

template <class Ops>
double VaporDensity(double pwMbar, double pressureMbar, double tVapC, DensityMedium medium,
                    const PhysicsChoice& physics) {
  switch (medium) {
    case DensityMedium::NaturalGas: {
      const double w = Ops::GasWaterContent(pwMbar, pressureMbar, physics);
      if (w == OutOfRange) return OutOfRange;
      return w * 0.016018453258153393;  // / 62.428
    }
    case DensityMedium::AirMixture:
      return pwMbar * 217 / (tVapC + 273.16);
    default:
      return (pressureMbar - pwMbar * 0.378) * 348 / (tVapC + 273.16);
  }
}

template <class Ops>
double PressureFromVaporDensity(double gramsPerM3, double pressureMbar, double tVapC,
                                DensityMedium medium, const PhysicsChoice& physics) {
  switch (medium) {
    case DensityMedium::NaturalGas:
      return Ops::PressureFromGasWaterContent(gramsPerM3 * kLbPerMmscfPerGramPerM3, pressureMbar,
                                              physics);
    case DensityMedium::AirMixture:
      return (tVapC + 273.16) * gramsPerM3 * 0.004608294930875576;  // / 217
    default:
      return (pressureMbar - (tVapC + 273.16) * gramsPerM3 * 0.0028735632183908046) *
             2.6455026455026456;  // (P - (t + 273.16) D / 348) / 0.378
  }
}

template <class Ops>
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
      pw = SaturationPressureDewFrost(value, P, physics);
      break;
    case MoistureUnit::DewFrostPointF:
      pw = SaturationPressureDewFrost(FahrenheitToCelsius(value), P, physics);
      break;
    case MoistureUnit::DewPointC:
      pw = SaturationPressureWater(value, P, physics);
      break;
    case MoistureUnit::DewPointF:
      pw = SaturationPressureWater(FahrenheitToCelsius(value), P, physics);
      break;
    case MoistureUnit::Ppmv:
      return value;
    case MoistureUnit::PpmwGas:
      return FiniteOrOutOfRange(value * side.MolWeight * 0.05555555555555555);  // * MW / 18
    case MoistureUnit::LbsPerMmscf:
      pw = Ops::PressureFromGasWaterContent(value, P, physics);
      break;
    case MoistureUnit::GramsPerM3:
      pw = PressureFromVaporDensity<Ops>(value, P, side.VaporTempC, side.DensityMedium, physics);
      break;
    case MoistureUnit::RelHumidity:
      pw = SaturationPressureWater(side.AmbientTempC, P, physics) * value * 0.01;
      break;
    case MoistureUnit::PpmwLiquid:
      pw = value / side.HenryK;
      break;
    default:
      return OutOfRange;
  }
  if (pw == OutOfRange) return OutOfRange;
  return FiniteOrOutOfRange(PpmvFromPressure(pw, P));
}

template <class Ops>
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
  const double pw = PressureFromPpmv(ppmv, usesSecondPressure ? P2 : P);
  double result;
  switch (unit) {
    case MoistureUnit::PartialPressure:
      result = pw;
      break;
    case MoistureUnit::DewFrostPointC:
      result = Ops::DewFrostPointFromPressure(pw, P, physics);
      break;
    case MoistureUnit::DewFrostPointF:
      result = CelsiusResultToFahrenheit(Ops::DewFrostPointFromPressure(pw, P, physics));
      break;
    case MoistureUnit::DewPointC:
      result = Ops::DewPointFromPressure(pw, P, physics);
      break;
    case MoistureUnit::DewPointF:
      result = CelsiusResultToFahrenheit(Ops::DewPointFromPressure(pw, P, physics));
      break;
    case MoistureUnit::Ppmv:
      result = ppmv;
      break;
    case MoistureUnit::PpmwGas:
      result = ppmv * 18 / side.MolWeight;
      break;
    case MoistureUnit::LbsPerMmscf:
      result = Ops::GasWaterContent(pw, P2, physics);
      break;
    case MoistureUnit::GramsPerM3:
      result = VaporDensity<Ops>(pw, P2, side.VaporTempC, side.DensityMedium, physics);
      break;
    case MoistureUnit::RelHumidity:
      result = pw / SaturationPressureWater(side.AmbientTempC, P, physics) * 100;
      break;
    case MoistureUnit::PpmwLiquid:
      result = pw * side.HenryK;
      break;
    default:
      return OutOfRange;
  }
  return FiniteOrOutOfRange(result);
}

}  // namespace tavimor::steps
