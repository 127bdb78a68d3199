#pragma once

// One enhanced saturation value split into what depends on the temperature alone and the
// few operations that bring in the total pressure. SaturationPressureWater and
// SaturationPressureDewFrost are these two steps, so a search that keeps the parts of a grid
// point and applies a new pressure to them gets the very bits a whole evaluation gives.

#include <cmath>

#include "core/saturation.h"

namespace tavimor {

enum class SaturationOperation { Water, DewFrost };

// The branch the saturation operations take for a formula and a factor: any formula not
// listed is Magnus, any factor not listed is none.
enum class FormulaKind { GoffGratch, HylandWexler, Sonntag, Magnus };
enum class FactorKind { None, Greenspan, Bogel };

inline FormulaKind FormulaKindOf(SwvpFormula formula) {
  switch (formula) {
    case SwvpFormula::GoffGratch:
      return FormulaKind::GoffGratch;
    case SwvpFormula::HylandWexler:
      return FormulaKind::HylandWexler;
    case SwvpFormula::Sonntag:
      return FormulaKind::Sonntag;
    default:
      return FormulaKind::Magnus;
  }
}

inline FactorKind FactorKindOf(EnhancementFactor factor) {
  switch (factor) {
    case EnhancementFactor::Greenspan:
      return FactorKind::Greenspan;
    case EnhancementFactor::Bogel:
      return FactorKind::Bogel;
    default:
      return FactorKind::None;
  }
}

// The pressure-free parts at one temperature t (°C).
struct SaturationParts {
  double E = 0;  // the formula's saturation pressure, mbar
  double A = 0;  // Greenspan: alpha; Bögel: a
  double B = 0;  // Greenspan: exp(beta); Bögel: b
  double C = 0;  // Bögel: 0.0001 e / (t + 273) over water, 1e-05 e / (t + 273) over ice
};

SaturationParts SaturationPartsAt(SaturationOperation op, FormulaKind formula, FactorKind factor,
                                  double tC);

// Greenspan's exponent ln f = alpha (1 - e/P) + exp(beta) (P/e - 1) at total pressure P (mbar).
inline double GreenspanExponent(const SaturationParts& p, double pressureMbar) {
  return p.A * (1 - p.E / pressureMbar) + p.B * (pressureMbar / p.E - 1);
}

// e f at total pressure P (mbar), in the order the formulas are written.
inline double EnhancedFromParts(FactorKind factor, const SaturationParts& p, double pressureMbar) {
  switch (factor) {
    case FactorKind::Greenspan:
      return p.E * std::exp(GreenspanExponent(p, pressureMbar));
    case FactorKind::Bogel:
      return p.E * (1 + (p.A * (1 - p.E / pressureMbar) + p.B * (pressureMbar / p.E - 1)) * p.C);
    case FactorKind::None:
      break;
  }
  return p.E;
}

}  // namespace tavimor
