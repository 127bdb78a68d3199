#include "physics/dew_point_grid.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>

#include "physics/dew_point.h"

namespace tavimor {

namespace {

// Everything the saturation values at a grid point depend on. Formula and factor are
// reduced to the branch the saturation operations take for them, and the total pressure
// counts only when an enhancement factor reads it; its bits are compared, so no two
// pressures ever share values.
struct GridKey {
  uint8_t Formula = 0;
  uint8_t Factor = 0;
  uint8_t Operation = 0;
  uint64_t PressureBits = 0;
  friend bool operator==(const GridKey&, const GridKey&) = default;
};

GridKey KeyOf(SaturationOperation op, double pressureMbar, const PhysicsChoice& physics) {
  GridKey key;
  switch (physics.SwvpFormula) {
    case SwvpFormula::GoffGratch:
      key.Formula = 0;
      break;
    case SwvpFormula::HylandWexler:
      key.Formula = 1;
      break;
    case SwvpFormula::Sonntag:
      key.Formula = 2;
      break;
    default:
      key.Formula = 3;
      break;
  }
  switch (physics.EnhancementFactor) {
    case EnhancementFactor::Greenspan:
      key.Factor = 1;
      break;
    case EnhancementFactor::Bogel:
      key.Factor = 2;
      break;
    default:
      key.Factor = 0;
      break;
  }
  key.Operation = op == SaturationOperation::Water ? 0 : 1;
  if (key.Factor != 0) key.PressureBits = std::bit_cast<uint64_t>(pressureMbar);
  return key;
}

// The search's result at every node, computed once per process exactly as the search
// computes it: the grid point accumulated from -40 by halved steps, then rounded.
const std::array<double, kGridNodes>& RoundedGridPoints() {
  static const std::array<double, kGridNodes> table = [] {
    std::array<double, kGridNodes> grid{};
    std::array<double, kGridNodes> halves{};
    std::array<double, kGridNodes> rounded{};
    grid[1] = -40.0;
    halves[1] = 100.0 * 0.5;
    for (std::size_t i = 1; i < kGridNodes / 2; ++i) {
      grid[2 * i] = grid[i] - halves[i];
      grid[2 * i + 1] = grid[i] + halves[i];
      halves[2 * i] = halves[2 * i + 1] = halves[i] * 0.5;
    }
    for (std::size_t i = 1; i < kGridNodes; ++i) rounded[i] = RoundToPowerOfTen(grid[i], -2);
    return rounded;
  }();
  return table;
}

}  // namespace

struct DewPointGrid::Slot {
  struct Node {
    double Above;  // S(a + 0.01)
    double Below;  // S(a - 0.01)
  };
  GridKey Key;
  bool Used = false;
  uint64_t LastUse = 0;
  std::unique_ptr<Node[]> Nodes;
  std::array<uint64_t, kGridNodes / 64> AboveKnown{};
  std::array<uint64_t, kGridNodes / 64> BelowKnown{};

  static bool Known(const std::array<uint64_t, kGridNodes / 64>& bits, std::size_t i) {
    return (bits[i >> 6] >> (i & 63)) & 1;
  }
  static void SetKnown(std::array<uint64_t, kGridNodes / 64>& bits, std::size_t i) {
    bits[i >> 6] |= uint64_t{1} << (i & 63);
  }
};

DewPointGrid::DewPointGrid(SaturationOperation op, double pressureMbar,
                           const PhysicsChoice& physics)
    : m_op(op), m_pressureMbar(pressureMbar), m_physics(physics) {
  struct Grids {
    std::array<Slot, kGridSlots> Slots;
    uint64_t Clock = 0;
  };
  thread_local Grids grids;
  const GridKey key = KeyOf(op, pressureMbar, physics);
  ++grids.Clock;
  Slot* victim = &grids.Slots[0];
  for (Slot& slot : grids.Slots) {
    if (slot.Used && slot.Key == key) {
      slot.LastUse = grids.Clock;
      m_slot = &slot;
      return;
    }
    if (slot.LastUse < victim->LastUse) victim = &slot;
  }
  if (!victim->Nodes) victim->Nodes = std::make_unique_for_overwrite<Slot::Node[]>(kGridNodes);
  victim->AboveKnown.fill(0);
  victim->BelowKnown.fill(0);
  victim->Key = key;
  victim->Used = true;
  victim->LastUse = grids.Clock;
  m_slot = victim;
}

double DewPointGrid::rounded(std::size_t node) {
  return RoundedGridPoints()[node];
}

// The search of DewPointFromPressure step by step, with every saturation value taken from
// the slot once it is known: the same comparisons in the same order, so the same node.
std::size_t DewPointGrid::searchNode(double x) {
  Slot& slot = *m_slot;
  Slot::Node* nodes = slot.Nodes.get();
  const auto saturation = [this](double t) {
    return m_op == SaturationOperation::Water
               ? SaturationPressureWater(t, m_pressureMbar, m_physics)
               : SaturationPressureDewFrost(t, m_pressureMbar, m_physics);
  };
  double a = -40.0;
  double step = 100.0;
  std::size_t i = 1;
  for (;;) {
    Slot::Node& node = nodes[i];
    if (!Slot::Known(slot.AboveKnown, i)) {
      node.Above = saturation(a + 0.01);
      Slot::SetKnown(slot.AboveKnown, i);
    }
    double half;
    if (node.Above < x) {
      half = step * 0.5;
      a = a + half;
      i = 2 * i + 1;
    } else {
      if (!Slot::Known(slot.BelowKnown, i)) {
        node.Below = saturation(a - 0.01);
        Slot::SetKnown(slot.BelowKnown, i);
      }
      if (node.Below <= x) return i;
      half = step * 0.5;
      a = a - half;
      i = 2 * i;
    }
    step = half;
    if (half < 0.01) return 0;
  }
}

double DewPointGrid::search(double x) {
  const std::size_t node = searchNode(x);
  return node == 0 ? OutOfRange : rounded(node);
}

}  // namespace tavimor
