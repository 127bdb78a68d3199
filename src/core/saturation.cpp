#include "core/saturation.h"

#include "core/saturation_parts.h"

#include <cmath>
#include <cstddef>

namespace tavimor {

namespace {

constexpr int16_t kNaturalGasMedium = static_cast<int16_t>(DensityMedium::NaturalGas);

// Goff-Gratch: J. A. Goff and S. Gratch, "Low-pressure properties of water from -160 to
// 212 °F", Trans. Am. Soc. Heating Ventilating Eng. 52 (1946) 95-122, in the form of the
// Smithsonian Meteorological Tables (R. J. List, 6th ed., 1951): steam point 373.16 K at
// 1013.246 mbar, ice point 273.16 K at 6.1071 mbar. The equations meant T = t + 273.16; this
// program takes t + 273.15.

// Goff and Gratch (1946), over water. T in K; result in mbar.
double GoffGratchWater(double T) {
  const double r = 373.16 / T;
  const double q = T * 0.0026798156286847465;  // T / 373.16
  double s = 5.02808 * std::log10(r) - 7.90298 * (r - 1);
  s = s - 1.3816e-07 * (std::pow(10.0, 11.344 * (1 - q)) - 1);
  s = s + 0.0081328 * (std::pow(10.0, -3.49149 * (r - 1)) - 1);
  s = s + std::log10(1013.246);
  return std::pow(10.0, s);
}

// Goff and Gratch (1946), over ice. T in K; result in mbar.
double GoffGratchIce(double T) {
  const double r = 273.16 / T;
  const double q = T * 0.0036608581051398447;  // T / 273.16
  const double s =
      0.876793 * (1 - q) - (3.56654 * std::log10(r) + 9.09718 * (r - 1)) + std::log10(6.1071);
  return std::pow(10.0, s);
}

// Hyland-Wexler: R. W. Hyland and A. Wexler, "Formulations for the thermodynamic properties
// of the saturated phases of H2O from 173.15 K to 473.15 K", ASHRAE Transactions 89(2A)
// (1983) 500-519; the same equations are in the ASHRAE Handbook - Fundamentals, chapter
// Psychrometrics. ln(p/Pa) = C/T + ... + D ln T, here in mbar: the constant term holds
// -ln 1000 and the result is multiplied by 10.

// Hyland and Wexler (1983), over water, stated for 273.15 to 473.15 K. T in K; result in mbar.
double HylandWexlerWater(double T) {
  const double s = 4.1764768e-05 * T * T - (5800.2206 / T + 0.048640239 * T + 5.516256) -
                   1.4452093000000001e-08 * T * T * T + 6.5459673 * std::log(T);
  return 10 * std::exp(s);
}

// Hyland and Wexler (1983), over ice, stated for 173.15 to 273.15 K. T in K; result in mbar.
// The T³ coefficient is 2.0747826e-9 here and 2.0747825e-9 in the paper: below 1e-8 of the
// result.
double HylandWexlerIce(double T) {
  const double s = (2.0747826e-09 * T + 6.2215701e-07) * T * T -
                   (5674.5359 / T + 0.009677843 * T + 0.51523058) - 9.484024e-13 * T * T * T * T +
                   4.1635019 * std::log(T);
  return 10 * std::exp(s);
}

// Sonntag: D. Sonntag, "Important new values of the physical constants of 1986, vapour
// pressure formulations based on the ITS-90, and psychrometer formulae", Z. Meteorol. 70(5)
// (1990) 340-344; repeated in D. Sonntag, "Advancements in the field of hygrometry",
// Meteorol. Z. N.F. 3 (1994) 51-66. They give ln(e/hPa); the constant terms here add ln 100
// (giving Pa) and the factor 0.01 returns to mbar.

// Sonntag (1990), over water, stated for -100 to +100 °C. T in K; result in mbar.
double SonntagWater(double T) {
  const double s = 2.433502 * std::log(T) + (21.2409642 - 6096.9385 / T - 0.02711193 * T) +
                   1.6739520000000003e-05 * T * T;
  return 0.01 * std::exp(s);
}

// Sonntag (1990), over ice, stated for -100 to 0.01 °C. T in K; result in mbar.
double SonntagIce(double T) {
  const double s = 0.010613868 * T - 6024.5282 / T + 29.32707 - 1.3198825000000001e-05 * T * T -
                   0.49382577 * std::log(T);
  return 0.01 * std::exp(s);
}

// Magnus form e = 6.112 hPa exp(a t / (b + t)) with the parameters of Sonntag (1990), as the
// WMO Guide to Meteorological Instruments and Methods of Observation (WMO-No. 8, 2008,
// annex 4.B) gives them; 6.4154242378 is ln 611.2 (Pa), the factor 0.01 gives mbar.

// Magnus over water (a 17.62, b 243.12 °C), stated for -45 to 60 °C. t in °C; result in mbar.
double MagnusWater(double t) {
  return 0.01 * std::exp(17.62 * t / (t + 243.12) + 6.4154242378);
}

// Magnus over ice (a 22.46), stated for -65 to 0 °C, with b = 272.2 °C where the guide has
// 272.62: up to 1.4 % lower at -65 °C. t in °C; result in mbar.
double MagnusIce(double t) {
  return 0.01 * std::exp(22.46 * t / (t + 272.2) + 6.4154242378);
}

struct GreenspanSet {
  double A0, A1, A2, A3, B0, B1, B2, B3;
};
constexpr GreenspanSet kGreenspanWater = {
    0.000353624, 2.9322800000000003e-05, 2.61474e-07,          8.575379999999998e-09, -10.7588,
    0.0632529,   -0.000253591,           6.337840000000001e-07};
constexpr GreenspanSet kGreenspanSupercooled = {
    0.000362183, 2.60553e-05, 3.8650099999999995e-07,  3.82449e-09,
    -10.7604,    0.0639725,   -0.00026341600000000004, 1.67254e-06};
constexpr GreenspanSet kGreenspanIce = {
    0.000364449, 2.9363100000000004e-05,  4.88635e-07, 4.3654299999999995e-09, -10.7271,
    0.0761989,   -0.00017477100000000002, 2.46721e-06};

// Greenspan enhancement factor: L. Greenspan, "Functional equations for the enhancement
// factors for CO2-free moist air", J. Res. Natl. Bur. Stand. 80A(1) (1976) 41-44, fitted to
// the factors of R. W. Hyland, J. Res. Natl. Bur. Stand. 79A(4) (1975) 551-560:
// ln f = alpha (1 - e/P) + beta (P/e - 1), alpha = sum A_i t^i, beta = exp(sum B_i t^i).
// t in °C, e and P in mbar (only their ratio enters; GreenspanExponent applies them).
void GreenspanParts(const GreenspanSet& c, double t, SaturationParts& p) {
  p.A = ((c.A3 * t + c.A2) * t + c.A1) * t + c.A0;
  const double beta = c.B0 + c.B1 * t + c.B2 * t * t + c.B3 * t * t * t;
  p.B = std::exp(beta);
}

// Bögel enhancement factor: W. Bögel (1977); the journal of the original was not traced.
// f = 1 + (a (1 - e/P) + b (P/e - 1)) * c e / (t + 273), with a, b and c for water or ice.

// Bögel (1977) over water. t in °C, e in mbar.
void BogelWaterParts(double t, SaturationParts& p) {
  p.A = 38 + 173 * std::exp(t * -0.023255813953488372);
  p.B = 6.39 + 4.28 * std::exp(t * -0.009345794392523364);
  p.C = 0.0001 * p.E / (t + 273);
}

// Bögel (1977) over ice. t in °C, e in mbar.
void BogelIceParts(double t, SaturationParts& p) {
  p.A = 2100 - 65 * t;
  p.B = 109 - 0.35 * t + t * t * 0.0029585798816568047;
  p.C = 1e-05 * p.E / (t + 273);
}

// Inlined into the column loops below too, where the choices are constants.
[[gnu::always_inline]] inline SaturationParts PartsAt(SaturationOperation op, FormulaKind formula,
                                                      FactorKind factor, double t) {
  const double T = t + 273.15;
  const bool below = t < 0;
  const bool ice = op == SaturationOperation::DewFrost && below;
  SaturationParts p;
  switch (formula) {
    case FormulaKind::GoffGratch:
      p.E = ice ? GoffGratchIce(T) : GoffGratchWater(T);
      break;
    case FormulaKind::HylandWexler:
      // Hyland and Wexler give their water equation from 0 °C only: below, the ice equation
      // serves both operations, so a dew point over supercooled water is a frost point here.
      p.E = below ? HylandWexlerIce(T) : HylandWexlerWater(T);
      break;
    case FormulaKind::Sonntag:
      p.E = ice ? SonntagIce(T) : SonntagWater(T);
      break;
    case FormulaKind::Magnus:
      p.E = ice ? MagnusIce(t) : MagnusWater(t);
      break;
  }
  switch (factor) {
    case FactorKind::Greenspan:
      GreenspanParts(!below                             ? kGreenspanWater
                     : op == SaturationOperation::Water ? kGreenspanSupercooled
                                                        : kGreenspanIce,
                     t, p);
      break;
    case FactorKind::Bogel:
      if (ice) {
        BogelIceParts(t, p);
      } else {
        BogelWaterParts(t, p);
      }
      break;
    case FactorKind::None:
      break;
  }
  return p;
}

}  // namespace

SaturationParts SaturationPartsAt(SaturationOperation op, FormulaKind formula, FactorKind factor,
                                  double t) {
  return PartsAt(op, formula, factor, t);
}

namespace {

double EnhancedSaturationPressure(SaturationOperation op, double t, double P,
                                  const PhysicsChoice& physics) {
  const FactorKind factor = FactorKindOf(physics.EnhancementFactor);
  return EnhancedFromParts(factor,
                           SaturationPartsAt(op, FormulaKindOf(physics.SwvpFormula), factor, t), P);
}

// A column's loop with the formula and factor fixed, so that each choice is made once.
template <SaturationOperation op, FormulaKind formula, FactorKind factor>
void SaturationLoop(std::span<const double> tC, double pressureMbar, std::span<double> out) {
  for (std::size_t i = 0; i < tC.size(); ++i) {
    out[i] = EnhancedFromParts(factor, PartsAt(op, formula, factor, tC[i]), pressureMbar);
  }
}

template <SaturationOperation op, FormulaKind formula>
void SaturationLoop(std::span<const double> tC, double pressureMbar, FactorKind factor,
                    std::span<double> out) {
  switch (factor) {
    case FactorKind::Greenspan:
      return SaturationLoop<op, formula, FactorKind::Greenspan>(tC, pressureMbar, out);
    case FactorKind::Bogel:
      return SaturationLoop<op, formula, FactorKind::Bogel>(tC, pressureMbar, out);
    case FactorKind::None:
      return SaturationLoop<op, formula, FactorKind::None>(tC, pressureMbar, out);
  }
}

template <SaturationOperation op>
void SaturationColumn(std::span<const double> tC, double pressureMbar, const PhysicsChoice& physics,
                      std::span<double> out) {
  const FactorKind factor = FactorKindOf(physics.EnhancementFactor);
  switch (FormulaKindOf(physics.SwvpFormula)) {
    case FormulaKind::GoffGratch:
      return SaturationLoop<op, FormulaKind::GoffGratch>(tC, pressureMbar, factor, out);
    case FormulaKind::HylandWexler:
      return SaturationLoop<op, FormulaKind::HylandWexler>(tC, pressureMbar, factor, out);
    case FormulaKind::Sonntag:
      return SaturationLoop<op, FormulaKind::Sonntag>(tC, pressureMbar, factor, out);
    case FormulaKind::Magnus:
      return SaturationLoop<op, FormulaKind::Magnus>(tC, pressureMbar, factor, out);
  }
}

}  // namespace

bool NaturalGasOverride(const CalcSettings& settings, int fromSelection, int toSelection) {
  constexpr int kLbs = static_cast<int>(MoistureUnit::LbsPerMmscf);
  constexpr int kGrams = static_cast<int>(MoistureUnit::GramsPerM3);
  return fromSelection == kLbs || toSelection == kLbs ||
         (fromSelection == kGrams &&
          static_cast<int16_t>(settings.From.DensityMedium) == kNaturalGasMedium) ||
         (toSelection == kGrams &&
          static_cast<int16_t>(settings.To.DensityMedium) == kNaturalGasMedium);
}

PhysicsChoice ChoosePhysics(const CalcSettings& settings, int fromSelection, int toSelection) {
  PhysicsChoice physics{settings.SwvpFormula, settings.EnhancementFactor, settings.GasMethod};
  if (NaturalGasOverride(settings, fromSelection, toSelection)) {
    physics.SwvpFormula = SwvpFormula::GoffGratch;
    physics.EnhancementFactor = EnhancementFactor::NoEnhancement;
  }
  return physics;
}

double SaturationPressureWater(double tC, double pressureMbar, const PhysicsChoice& physics) {
  return EnhancedSaturationPressure(SaturationOperation::Water, tC, pressureMbar, physics);
}

double SaturationPressureDewFrost(double tC, double pressureMbar, const PhysicsChoice& physics) {
  return EnhancedSaturationPressure(SaturationOperation::DewFrost, tC, pressureMbar, physics);
}

void SaturationPressuresWater(std::span<const double> tC, double pressureMbar,
                              const PhysicsChoice& physics, std::span<double> out) {
  SaturationColumn<SaturationOperation::Water>(tC, pressureMbar, physics, out);
}

void SaturationPressuresDewFrost(std::span<const double> tC, double pressureMbar,
                                 const PhysicsChoice& physics, std::span<double> out) {
  SaturationColumn<SaturationOperation::DewFrost>(tC, pressureMbar, physics, out);
}

}  // namespace tavimor
