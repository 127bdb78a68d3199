#include "physics/natural_gas.h"

#include <array>
#include <cmath>

#include "physics/dew_point_grid.h"

namespace tavimor {

namespace {

bool UsesIgt(const PhysicsChoice& physics) {
  return static_cast<int16_t>(physics.GasMethod) == static_cast<int16_t>(GasMethod::IgtBulletin8);
}

// The ASTM polynomial in the dew point td (°C, a search result) and the total pressure P
// (mbar, as psia); result in lb per million standard cubic feet.
double AstmWaterContent(double td, double pressureMbar) {
  if (td == OutOfRange) return OutOfRange;
  const double tF = td * 0.2 * 9 + 32;
  const double A = std::exp(
      ((((-2.25205162e-10 * tF + 2.15321192e-07) * tF - 0.000112108182) * tF + 0.0469221195) * tF +
       6.95153403));
  const double B =
      ((((3.20779439e-11 * tF + 2.60545283e-08) * tF + 3.13802397e-06) * tF + 0.000489340021) * tF +
       0.033633329) *
          tF +
      0.961729929;
  return A / (pressureMbar * 0.01450377) + B;
}

double IgtWaterContent(double pwMbar, double pressureMbar) {
  return 0.92 * std::pow(pwMbar, 0.73) + pwMbar * (47470.5 / pressureMbar - 0.12);
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

}  // namespace

// IGT Bulletin 8 correlation, or the ASTM polynomial in the dew point (°F) and the total
// pressure (psia). pw and P in mbar; result in lb per million standard cubic feet.
double GasWaterContent(double pwMbar, double pressureMbar, const PhysicsChoice& physics) {
  if (UsesIgt(physics)) return IgtWaterContent(pwMbar, pressureMbar);
  return AstmWaterContent(DewPointFromPressure(pwMbar, pressureMbar, physics), pressureMbar);
}

// Under ASTM the up to 58 trials all search dew points at one pressure, mostly of nearby
// partial pressures that end at the same grid node: the grid is looked up once, and the
// content of the last two nodes is kept with the interval of pw that ends at each.
double PressureFromGasWaterContent(double lbPerMmscf, double pressureMbar,
                                   const PhysicsChoice& physics) {
  if (UsesIgt(physics)) {
    return SearchGasWaterContent(lbPerMmscf, pressureMbar,
                                 [&](double pw) { return IgtWaterContent(pw, pressureMbar); });
  }
  DewPointGrid grid(SaturationOperation::Water, pressureMbar, physics);
  struct Step {
    double Low = 1;  // an empty interval until a node is kept
    double High = 0;
    double Content = 0;
  };
  std::array<Step, 2> steps{};
  std::size_t next = 0;
  return SearchGasWaterContent(lbPerMmscf, pressureMbar, [&](double pw) {
    for (const Step& s : steps) {
      if (s.Low <= pw && pw <= s.High) return s.Content;
    }
    const std::size_t node = grid.searchNode(pw);
    if (node == 0) return AstmWaterContent(OutOfRange, pressureMbar);
    Step& s = steps[next];
    next ^= 1;
    grid.endInterval(node, s.Low, s.High);
    s.Content = AstmWaterContent(DewPointGrid::rounded(node), pressureMbar);
    return s.Content;
  });
}

}  // namespace tavimor
