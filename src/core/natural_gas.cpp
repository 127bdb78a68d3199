#include "core/natural_gas.h"

#include <array>
#include <cmath>

#include "core/conversion_steps.h"
#include "core/dew_point_grid.h"

namespace tavimor {

namespace {

using steps::AstmWaterContent;
using steps::IgtWaterContent;
using steps::SearchGasWaterContent;
using steps::UsesIgt;

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
