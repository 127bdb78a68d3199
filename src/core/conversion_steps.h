#pragma once

// The conversion hub and the vapour-density steps written once over the searches they call,
// so the fast path and the literal reference cannot drift apart. Ops supplies
// DewPointFromPressure, DewFrostPointFromPressure, GasWaterContent and
// PressureFromGasWaterContent; the saturation operations have a single form.

#include <cmath>

#include "core/conversion_hub.h"
#include "core/fahrenheit.h"

namespace tavimor::steps {

inline bool IsUsablePressure(double pressureMbar) {
  return std::isfinite(pressureMbar) && pressureMbar > 0;
}

// No text may ever show "nan" or "inf": a result without a finite value has no answer.
inline double FiniteOrOutOfRange(double v) {
  return std::isfinite(v) ? v : OutOfRange;
}

// Deliberately stricter than the formula as written: P − pw in the denominator makes the mole
// ratio negative (or infinite) once the water vapour would make up the whole pressure, and a
// negative pressure makes it negative too. Neither is a concentration, so such a value has
// no answer. OutOfRange from a search is negative and falls out here as well.
inline bool IsMoleRatioPressure(double pwMbar, double pressureMbar) {
  return (pwMbar >= 0) & (pwMbar < pressureMbar);
}

// The mole ratio of a partial pressure, in ppmv, or OutOfRange where it is none. Without a
// branch, so that a column's loop over it runs two values to an instruction.
inline double PpmvOfPartialPressure(double pwMbar, double pressureMbar) {
  const double ppmv = PpmvFromPressure(pwMbar, pressureMbar);
  const bool ratio = IsMoleRatioPressure(pwMbar, pressureMbar);
  return (ratio & std::isfinite(ppmv)) ? ppmv : OutOfRange;
}

// A search result stays OutOfRange; anything else becomes °F.
inline double CelsiusResultToFahrenheit(double c) {
  return c == OutOfRange ? OutOfRange : FahrenheitFromCelsiusDouble(c);
}

inline constexpr double kLbPerMmscfPerGramPerM3 = 62.428;

// Natural-gas water content, shared by the fast path and the literal reference.

inline bool UsesIgt(const PhysicsChoice& physics) {
  return static_cast<int16_t>(physics.GasMethod) == static_cast<int16_t>(GasMethod::IgtBulletin8);
}

// IGT Bulletin 8 correlation. pw and P in mbar; result in lb per million standard cubic feet.
inline double IgtWaterContent(double pwMbar, double pressureMbar) {
  return 0.92 * std::pow(pwMbar, 0.73) + pwMbar * (47470.5 / pressureMbar - 0.12);
}

// The part of the ASTM content that depends on the dew point alone: the content is
// A / psia + B.
struct AstmParts {
  double A;
  double B;
};

// td in °C (a search result, not OutOfRange).
inline AstmParts AstmPartsAt(double td) {
  const double tF = FahrenheitFromCelsiusDouble(td);
  const double A = std::exp(
      ((((-2.25205162e-10 * tF + 2.15321192e-07) * tF - 0.000112108182) * tF + 0.0469221195) * tF +
       6.95153403));
  const double B =
      ((((3.20779439e-11 * tF + 2.60545283e-08) * tF + 3.13802397e-06) * tF + 0.000489340021) * tF +
       0.033633329) *
          tF +
      0.961729929;
  return {A, B};
}

inline double AstmContentAt(const AstmParts& parts, double pressureMbar) {
  return parts.A / (pressureMbar * 0.01450377) + parts.B;
}

// The ASTM polynomial in the dew point td (°C, a search result) and the total pressure P
// (mbar, as psia); result in lb per million standard cubic feet.
inline double AstmWaterContent(double td, double pressureMbar) {
  if (td == OutOfRange) return OutOfRange;
  return AstmContentAt(AstmPartsAt(td), pressureMbar);
}

// Bisection around the IGT estimate without its power term: moves of 25 mbar down to
// 50 / 2^28, accepting c when the content crosses W within 1e-07 mbar. A trial whose content
// is not a number (a negative pw under IGT) counts as below W going up and as accepted going
// down. content(pw) is the water content at P.
template <class Content>
double SearchGasWaterContent(double W, double pressureMbar, Content content) {
  double c = W / (47470.5 / pressureMbar - 0.12);
  double step = 50;
  for (;;) {
    double half;
    double v = content(c + 1e-07);
    if (v < W || std::isnan(v)) {
      half = step * 0.5;
      c = c + half;
    } else {
      v = content(c - 1e-07);
      if (v <= W || std::isnan(v)) return c;
      half = step * 0.5;
      c = c - half;
    }
    step = half;
    if (half < 1e-07) return OutOfRange;
  }
}

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
      pw = SaturationPressureDewFrost(CelsiusFromFahrenheitDouble(value), P, physics);
      break;
    case MoistureUnit::DewPointC:
      pw = SaturationPressureWater(value, P, physics);
      break;
    case MoistureUnit::DewPointF:
      pw = SaturationPressureWater(CelsiusFromFahrenheitDouble(value), P, physics);
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
  return PpmvOfPartialPressure(pw, P);
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
