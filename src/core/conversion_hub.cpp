#include "core/conversion_hub.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <type_traits>

#include "core/conversion_steps.h"
#include "core/wide_loops.h"

namespace tavimor {

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

// body(unit) with the unit as a constant, so that the switch over the units folds away inside
// a column's loop (a value outside the enumeration stays as it is).
template <class Body>
TAVIMOR_INLINED_BODY inline void WithUnitConstant(MoistureUnit unit, const Body& body) {
  using U = MoistureUnit;
  switch (unit) {
    case U::PartialPressure:
      return body(std::integral_constant<U, U::PartialPressure>{});
    case U::DewFrostPointC:
      return body(std::integral_constant<U, U::DewFrostPointC>{});
    case U::DewFrostPointF:
      return body(std::integral_constant<U, U::DewFrostPointF>{});
    case U::DewPointC:
      return body(std::integral_constant<U, U::DewPointC>{});
    case U::DewPointF:
      return body(std::integral_constant<U, U::DewPointF>{});
    case U::Ppmv:
      return body(std::integral_constant<U, U::Ppmv>{});
    case U::PpmwGas:
      return body(std::integral_constant<U, U::PpmwGas>{});
    case U::LbsPerMmscf:
      return body(std::integral_constant<U, U::LbsPerMmscf>{});
    case U::GramsPerM3:
      return body(std::integral_constant<U, U::GramsPerM3>{});
    case U::RelHumidity:
      return body(std::integral_constant<U, U::RelHumidity>{});
    case U::PpmwLiquid:
      return body(std::integral_constant<U, U::PpmwLiquid>{});
    default:
      return body(unit);
  }
}

// Values per pass of a column's stages: the temperatures and pressures of a pass stay in the
// first-level cache.
constexpr std::size_t kColumnPass = 256;

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

TAVIMOR_WIDE_LOOPS void MoistureToPpmvColumn(MoistureUnit unit, std::span<const double> values,
                                             double pressureMbar, const UnitParams& side,
                                             const PhysicsChoice& physics, std::span<double> out) {
  using U = MoistureUnit;
  const bool overIce = unit == U::DewFrostPointC || unit == U::DewFrostPointF;
  const bool fahrenheit = unit == U::DewFrostPointF || unit == U::DewPointF;
  if (!overIce && !fahrenheit && unit != U::DewPointC) {
    WithUnitConstant(unit, [&](auto constant) TAVIMOR_INLINED_BODY {
      for (std::size_t i = 0; i < values.size(); ++i) {
        out[i] =
            steps::MoistureToPpmv<FastSearches>(constant, values[i], pressureMbar, side, physics);
      }
    });
    return;
  }
  // MoistureToPpmv's steps for a dew or frost point, one loop each.
  const double P = pressureMbar;
  const bool usable = steps::IsUsablePressure(P);
  double tC[kColumnPass];
  for (std::size_t begin = 0; begin < values.size(); begin += kColumnPass) {
    const std::size_t n = std::min(kColumnPass, values.size() - begin);
    const double* value = values.data() + begin;
    double* pw = out.data() + begin;
    if (fahrenheit) {
      for (std::size_t i = 0; i < n; ++i) tC[i] = CelsiusFromFahrenheitDouble(value[i]);
    } else {
      std::copy_n(value, n, tC);
    }
    if (overIce) {
      SaturationPressuresDewFrost({tC, n}, P, physics, {pw, n});
    } else {
      SaturationPressuresWater({tC, n}, P, physics, {pw, n});
    }
    // The ratio taken for every value and then chosen, with a bitwise "and": no branch.
    for (std::size_t i = 0; i < n; ++i) {
      const double ppmv = steps::PpmvOfPartialPressure(pw[i], P);
      pw[i] = (usable & std::isfinite(value[i])) ? ppmv : OutOfRange;
    }
  }
}

TAVIMOR_WIDE_LOOPS void PpmvToMoistureColumn(MoistureUnit unit, std::span<const double> ppmv,
                                             double pressureMbar, const UnitParams& side,
                                             double pressure2Mbar, const PhysicsChoice& physics,
                                             std::span<double> out) {
  WithUnitConstant(unit, [&](auto constant) TAVIMOR_INLINED_BODY {
    for (std::size_t i = 0; i < ppmv.size(); ++i) {
      out[i] = steps::PpmvToMoisture<FastSearches>(constant, ppmv[i], pressureMbar, side,
                                                   pressure2Mbar, physics);
    }
  });
}

}  // namespace tavimor
