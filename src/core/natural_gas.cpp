#include "core/natural_gas.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include "core/conversion_steps.h"
#include "core/dew_point_grid.h"
#include "core/std_bridge.h"

namespace tavimor {

namespace {

using steps::AstmContentAt;
using steps::AstmParts;
using steps::AstmPartsAt;
using steps::AstmWaterContent;
using steps::IgtWaterContent;
using steps::SearchGasWaterContent;
using steps::UsesIgt;

// The pressure-free part of the ASTM content at each grid node's rounded dew point, kept by
// each thread as the water-content searches first need it (256 KiB once touched), so that a
// content at any pressure is one division and one addition, in the order AstmWaterContent
// computes them.
class AstmNodeParts {
 public:
  const AstmParts& at(std::size_t node) {
    if (!m_parts) m_parts = MakeUniqueArrayForOverwrite<AstmParts>(kGridNodes);
    uint64_t& word = m_known[node >> 6];
    const uint64_t bit = uint64_t{1} << (node & 63);
    if ((word & bit) == 0) {
      m_parts[node] = AstmPartsAt(DewPointGrid::rounded(node));
      word |= bit;
    }
    return m_parts[node];
  }

 private:
  std::unique_ptr<AstmParts[]> m_parts;
  std::array<uint64_t, kGridNodes / 64> m_known{};
};

AstmNodeParts& ThreadAstmNodeParts() {
  thread_local AstmNodeParts parts;
  return parts;
}

}  // namespace

// IGT Bulletin 8 correlation, or the ASTM polynomial in the dew point (°F) and the total
// pressure (psia). pw and P in mbar; result in lb per million standard cubic feet.
double GasWaterContent(double pwMbar, double pressureMbar, const PhysicsChoice& physics) {
  if (UsesIgt(physics)) return IgtWaterContent(pwMbar, pressureMbar);
  return AstmWaterContent(DewPointFromPressure(pwMbar, pressureMbar, physics), pressureMbar);
}

// Under ASTM the up to 58 trials all search dew points at one pressure, mostly of nearby
// partial pressures that end at the same grid node or leave the grid's reach: the grid is
// looked up once, and the content of the last few ends is kept with the interval of pw that
// ends there.
double PressureFromGasWaterContent(double lbPerMmscf, double pressureMbar,
                                   const PhysicsChoice& physics) {
  if (UsesIgt(physics)) {
    return SearchGasWaterContent(lbPerMmscf, pressureMbar,
                                 [&](double pw) { return IgtWaterContent(pw, pressureMbar); });
  }
  DewPointGrid grid(SaturationOperation::Water, pressureMbar, physics);
  AstmNodeParts& parts = ThreadAstmNodeParts();
  struct Step {
    double Low = 1;  // an empty interval until an end is kept
    double High = 0;
    double Content = 0;
  };
  std::array<Step, 4> steps{};
  std::size_t next = 0;
  // Trials below or above the grid's reach have no dew point, at any pressure.
  Step left;
  Step right;
  grid.exitIntervals(left.Low, left.High, right.Low, right.High);
  const double outside = AstmWaterContent(OutOfRange, pressureMbar);
  return SearchGasWaterContent(lbPerMmscf, pressureMbar, [&](double pw) {
    if ((left.Low <= pw && pw <= left.High) || (right.Low <= pw && pw <= right.High)) {
      return outside;
    }
    // All four looked at without a branch on each: which one holds pw is anybody's guess.
    std::size_t holding = steps.size();
    for (std::size_t k = 0; k < steps.size(); ++k) {
      const bool holds = (static_cast<unsigned>(steps[k].Low <= pw) &
                          static_cast<unsigned>(pw <= steps[k].High)) != 0;
      holding = holds ? k : holding;
    }
    if (holding < steps.size()) return steps[holding].Content;
    const std::size_t end = grid.searchEnd(pw);
    Step& s = steps[next];
    next = (next + 1) % steps.size();
    grid.endInterval(end, s.Low, s.High);
    s.Content = end < kGridNodes ? AstmContentAt(parts.at(end), pressureMbar) : outside;
    return s.Content;
  });
}

}  // namespace tavimor
