#pragma once

// Random conversions run through the public (fast) functions and through the literal
// algorithms of tavimor::reference, compared bit for bit. Shared by the equivalence test
// (small counts, in CI) and the full run in bench/ (a million and more per family).

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/conversion_hub.h"
#include "core/single_precision.h"
#include "reference/reference.h"

namespace tavimor::equivalence {

// Unit pairs grouped by the searches and caches they exercise.
enum class Family {
  ToDewPoint,       // any unit to dew point °C/°F: the dew-point search over water
  ToDewFrostPoint,  // any unit to dew/frost point °C/°F: the search over ice and water
  FromLbsPerMmscf,  // lb/MMSCF (IGT, ASTM) to any unit: the water-content search
  ToLbsPerMmscf,    // any unit to lb/MMSCF: ASTM nests a dew-point search
  GramsPerM3,       // g/m³ in every medium, on either side
  OtherUnits,       // the remaining pairs: partial pressure, ppmv, ppmw, %RH, liquids
};
inline constexpr std::array<Family, 6> kFamilies = {
    Family::ToDewPoint,    Family::ToDewFrostPoint, Family::FromLbsPerMmscf,
    Family::ToLbsPerMmscf, Family::GramsPerM3,      Family::OtherUnits};

inline const char* FamilyName(Family f) {
  switch (f) {
    case Family::ToDewPoint:
      return "ToDewPoint";
    case Family::ToDewFrostPoint:
      return "ToDewFrostPoint";
    case Family::FromLbsPerMmscf:
      return "FromLbsPerMmscf";
    case Family::ToLbsPerMmscf:
      return "ToLbsPerMmscf";
    case Family::GramsPerM3:
      return "GramsPerM3";
    case Family::OtherUnits:
      return "OtherUnits";
  }
  return "?";
}

struct Report {
  uint64_t Checked = 0;     // values compared (several per conversion)
  uint64_t Mismatches = 0;  // values whose bits differ
  std::string First;        // the first mismatch, described
};

// One set of conditions under which several values are converted in a row, as a panel, a
// graph or a list does; revisiting earlier scenarios makes the caches switch keys.
struct Scenario {
  MoistureUnit From = MoistureUnit::Ppmv;
  MoistureUnit To = MoistureUnit::Ppmv;
  PhysicsChoice Physics;
  UnitParams FromSide;
  UnitParams ToSide;
  double P1 = 1013.25;  // From pressure
  double P2 = 1013.25;  // To (compute-at) pressure
};

class Checker {
 public:
  explicit Checker(uint64_t seed) : m_rng(seed) {}

  Report run(Family family, uint64_t conversions) {
    Report report;
    std::vector<Scenario> recent;
    uint64_t done = 0;
    while (done < conversions) {
      // A new scenario, or one of the last few again (more than the caches hold).
      if (recent.size() < 6 || uniform(0, 1) < 0.5) {
        if (recent.size() == 6) recent.erase(recent.begin());
        recent.push_back(makeScenario(family));
      }
      const Scenario& s = recent[static_cast<std::size_t>(index(recent.size()))];
      const uint64_t run = 1 + index(24);
      // Sometimes each conversion at a pressure of its own, as the rows of a table with a
      // pressure column (near the last one), or isobars and direct calls (anywhere): keys
      // seen once or twice, never settling in a cache slot.
      const int rowPressures = chance(0.5) ? 1 + static_cast<int>(index(3)) : 0;
      const bool anywhere = chance(0.5);
      for (uint64_t k = 0; k < run && done < conversions; ++k, ++done) {
        if (rowPressures == 0) {
          convertOne(family, s, report);
          continue;
        }
        Scenario row = s;
        if (rowPressures & 1) row.P1 = anywhere ? pressure() : nearbyPressure(s.P1);
        if (rowPressures & 2) row.P2 = anywhere ? pressure() : nearbyPressure(s.P2);
        if (rowPressures == 3 && chance(0.5)) row.P2 = row.P1;
        convertOne(family, row, report);
      }
    }
    return report;
  }

 private:
  double uniform(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(m_rng);
  }
  double logUniform(double lo, double hi) { return std::exp(uniform(std::log(lo), std::log(hi))); }
  uint64_t index(uint64_t n) { return std::uniform_int_distribution<uint64_t>(0, n - 1)(m_rng); }
  bool chance(double p) { return uniform(0, 1) < p; }

  template <class T, std::size_t N>
  T pick(const std::array<T, N>& choices) {
    return choices[static_cast<std::size_t>(index(N))];
  }

  // A total pressure from 1 to 400 000 mbar, often as the panel holds one (rounded to 0.01
  // mbar, then single precision); rarely far beyond, where the factors grow huge, up to the
  // largest doubles, where their operations overflow.
  double pressure() {
    if (chance(0.01)) return logUniform(1e-300, 1e308);
    if (chance(0.03)) return logUniform(1e-4, 1e9);
    const double p = logUniform(1, 400000);
    if (chance(0.5)) return static_cast<double>(HoldSingle(RoundToPowerOfTen(p, -2)));
    return p;
  }

  // A pressure within 1 % of p, as a logger's pressure column moves.
  double nearbyPressure(double p) {
    const double q = p * uniform(0.99, 1.01);
    return chance(0.5) ? static_cast<double>(HoldSingle(RoundToPowerOfTen(q, -2))) : q;
  }

  PhysicsChoice physics(MoistureUnit from, MoistureUnit to, const CalcSettings& settings) {
    // Mostly what a panel passes (after the natural-gas override); sometimes any choice, so
    // that the natural-gas functions also run under every formula and factor.
    if (chance(0.8)) return ChoosePhysics(settings, static_cast<int>(from), static_cast<int>(to));
    return PhysicsChoice{settings.SwvpFormula, settings.EnhancementFactor, settings.GasMethod};
  }

  CalcSettings settings() {
    CalcSettings s;
    s.SwvpFormula = chance(0.05)
                        ? static_cast<SwvpFormula>(index(3000))
                        : pick(std::array{SwvpFormula::GoffGratch, SwvpFormula::HylandWexler,
                                          SwvpFormula::Sonntag, SwvpFormula::Magnus});
    s.EnhancementFactor =
        chance(0.05) ? static_cast<EnhancementFactor>(index(3000))
                     : pick(std::array{EnhancementFactor::NoEnhancement,
                                       EnhancementFactor::Greenspan, EnhancementFactor::Bogel});
    s.GasMethod = chance(0.05) ? static_cast<GasMethod>(index(3000))
                               : pick(std::array{GasMethod::IgtBulletin8, GasMethod::Astm});
    for (SideParams* side : {&s.From, &s.To}) {
      side->DensityMedium =
          chance(0.05) ? static_cast<DensityMedium>(index(3000))
                       : pick(std::array{DensityMedium::PureVapor, DensityMedium::AirMixture,
                                         DensityMedium::NaturalGas});
      side->MolWeight = HoldSingle(uniform(1, 300));
      side->HenryK = HoldSingle(logUniform(0.1, 100));
      side->AmbientTempC = HoldSingle(uniform(-80, 200));
      side->VaporTempC = HoldSingle(uniform(-80, 200));
    }
    return s;
  }

  MoistureUnit anyUnit() { return static_cast<MoistureUnit>(index(kMoistureUnitCount)); }

  Scenario makeScenario(Family family) {
    using U = MoistureUnit;
    Scenario s;
    switch (family) {
      case Family::ToDewPoint:
        s.From = anyUnit();
        s.To = chance(0.5) ? U::DewPointC : U::DewPointF;
        break;
      case Family::ToDewFrostPoint:
        s.From = anyUnit();
        s.To = chance(0.5) ? U::DewFrostPointC : U::DewFrostPointF;
        break;
      case Family::FromLbsPerMmscf:
        s.From = U::LbsPerMmscf;
        s.To = anyUnit();
        break;
      case Family::ToLbsPerMmscf:
        s.From = anyUnit();
        s.To = U::LbsPerMmscf;
        break;
      case Family::GramsPerM3:
        s.From = chance(0.5) ? U::GramsPerM3 : anyUnit();
        s.To = s.From == U::GramsPerM3 ? anyUnit() : U::GramsPerM3;
        break;
      case Family::OtherUnits: {
        constexpr std::array others = {U::PartialPressure, U::DewFrostPointC, U::DewFrostPointF,
                                       U::DewPointC,       U::DewPointF,      U::Ppmv,
                                       U::PpmwGas,         U::RelHumidity,    U::PpmwLiquid};
        s.From = pick(others);
        s.To = pick(others);
        break;
      }
    }
    const CalcSettings cs = settings();
    s.Physics = physics(s.From, s.To, cs);
    s.FromSide = UnitParamsOf(cs.From);
    s.ToSide = UnitParamsOf(cs.To);
    s.P1 = pressure();
    s.P2 = chance(0.4) ? s.P1 : pressure();
    return s;
  }

  // A value in the From unit: mostly in the unit's useful range, sometimes at its edges or
  // beyond, and for the pressure-like units sometimes exactly a saturation value at a
  // neighbour of a search grid point, where the searches' ties are decided.
  double value(const Scenario& s) {
    using U = MoistureUnit;
    if (chance(0.01)) return pick(std::array{0.0, -0.0, -1.0, 1e-300, 1e300, -10000.0});
    switch (s.From) {
      case U::PartialPressure:
        if (chance(0.2)) return gridSaturation(s.P1, s.Physics);
        return logUniform(1e-9, std::min(s.P1 * 1.2, 2000.0));
      case U::DewFrostPointC:
      case U::DewPointC:
        return uniform(-150, 70);
      case U::DewFrostPointF:
      case U::DewPointF:
        return uniform(-240, 160);
      case U::Ppmv:
      case U::PpmwGas:
      case U::PpmwLiquid:
        return logUniform(1e-4, 2e6);
      case U::LbsPerMmscf:
        return logUniform(1e-3, 2e5);
      case U::GramsPerM3:
        return logUniform(1e-5, 3e3);
      case U::RelHumidity:
        return uniform(0, 150);
    }
    return 0;
  }

  // The saturation value at a neighbour of a search grid point, where a comparison is a
  // tie: under the scenario's formula and factor at the pressure searched (so that the
  // searches' estimate cannot decide and the exact value must), or under any formula
  // without a factor; sometimes a few ulps off.
  double gridSaturation(double pressureMbar, const PhysicsChoice& physics) {
    double a = -40.0;
    double step = 100.0;
    for (uint64_t level = index(14); level > 0; --level) {
      step *= 0.5;
      a += chance(0.5) ? step : -step;
    }
    const double t = chance(0.5) ? a + 0.01 : a - 0.01;
    const PhysicsChoice p =
        chance(0.5)
            ? physics
            : PhysicsChoice{pick(std::array{SwvpFormula::GoffGratch, SwvpFormula::HylandWexler,
                                            SwvpFormula::Sonntag, SwvpFormula::Magnus}),
                            EnhancementFactor::NoEnhancement, GasMethod::IgtBulletin8};
    double x = chance(0.5) ? SaturationPressureWater(t, pressureMbar, p)
                           : SaturationPressureDewFrost(t, pressureMbar, p);
    if (chance(0.3)) {
      for (uint64_t ulps = 1 + index(3); ulps > 0; --ulps) {
        x = std::nextafter(x, chance(0.5) ? INFINITY : -INFINITY);
      }
    }
    return x;
  }

  void compare(const char* what, double fast, double ref, const Scenario& s, double v,
               Report& report) {
    ++report.Checked;
    if (std::bit_cast<uint64_t>(fast) == std::bit_cast<uint64_t>(ref)) return;
    if (report.Mismatches++ == 0) {
      std::ostringstream m;
      m.precision(17);
      m << what << ": fast " << fast << " reference " << ref << " for value " << v << " from "
        << static_cast<int>(s.From) << " to " << static_cast<int>(s.To) << " P1 " << s.P1 << " P2 "
        << s.P2 << " formula " << static_cast<int>(s.Physics.SwvpFormula) << " factor "
        << static_cast<int>(s.Physics.EnhancementFactor) << " method "
        << static_cast<int>(s.Physics.GasMethod) << " media "
        << static_cast<int>(s.FromSide.DensityMedium) << "/"
        << static_cast<int>(s.ToSide.DensityMedium);
      report.First = m.str();
    }
  }

  void convertOne(Family family, const Scenario& s, Report& report) {
    const double v = value(s);
    const double ppmv = MoistureToPpmv(s.From, v, s.P1, s.FromSide, s.Physics);
    const double refPpmv = reference::MoistureToPpmv(s.From, v, s.P1, s.FromSide, s.Physics);
    compare("MoistureToPpmv", ppmv, refPpmv, s, v, report);
    // The second half always starts from the reference's ppmv, so that a difference is
    // charged to the half that makes it.
    const double r = PpmvToMoisture(s.To, refPpmv, s.P2, s.ToSide, s.P1, s.Physics);
    const double refR = reference::PpmvToMoisture(s.To, refPpmv, s.P2, s.ToSide, s.P1, s.Physics);
    compare("PpmvToMoisture", r, refR, s, v, report);

    // The building blocks directly, on partial pressures the hub would not pass.
    switch (family) {
      case Family::ToDewPoint:
      case Family::ToDewFrostPoint: {
        const double pw = chance(0.3)    ? gridSaturation(s.P2, s.Physics)
                          : chance(0.02) ? logUniform(1e-300, 1e308)
                                         : logUniform(1e-10, 400);
        if (family == Family::ToDewPoint) {
          compare("DewPointFromPressure", DewPointFromPressure(pw, s.P2, s.Physics),
                  reference::DewPointFromPressure(pw, s.P2, s.Physics), s, pw, report);
        } else {
          compare("DewFrostPointFromPressure", DewFrostPointFromPressure(pw, s.P2, s.Physics),
                  reference::DewFrostPointFromPressure(pw, s.P2, s.Physics), s, pw, report);
        }
        break;
      }
      case Family::FromLbsPerMmscf:
        compare("PressureFromGasWaterContent", PressureFromGasWaterContent(v, s.P1, s.Physics),
                reference::PressureFromGasWaterContent(v, s.P1, s.Physics), s, v, report);
        break;
      case Family::ToLbsPerMmscf: {
        const double pw = chance(0.2) ? gridSaturation(s.P1, s.Physics) : logUniform(1e-8, 300);
        compare("GasWaterContent", GasWaterContent(pw, s.P1, s.Physics),
                reference::GasWaterContent(pw, s.P1, s.Physics), s, pw, report);
        break;
      }
      case Family::GramsPerM3:
      case Family::OtherUnits:
        break;
    }
  }

  std::mt19937_64 m_rng;
};

}  // namespace tavimor::equivalence
