#include "core/dew_point_grid.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "core/dew_point.h"
#include "core/std_bridge.h"

namespace tavimor {

namespace {

using GridKey = DewPointGrid::Key;

// Everything the saturation values at a grid point depend on. Formula and factor are
// reduced to the branch the saturation operations take for them, and the total pressure
// counts only when an enhancement factor reads it; its bits are compared, so no two
// pressures ever share values.
GridKey KeyOf(SaturationOperation op, double pressureMbar, const PhysicsChoice& physics) {
  uint64_t formula;
  switch (physics.SwvpFormula) {
    case SwvpFormula::GoffGratch:
      formula = 0;
      break;
    case SwvpFormula::HylandWexler:
      formula = 1;
      break;
    case SwvpFormula::Sonntag:
      formula = 2;
      break;
    default:
      formula = 3;
      break;
  }
  uint64_t factor;
  switch (physics.EnhancementFactor) {
    case EnhancementFactor::Greenspan:
      factor = 1;
      break;
    case EnhancementFactor::Bogel:
      factor = 2;
      break;
    default:
      factor = 0;
      break;
  }
  const uint64_t operation = op == SaturationOperation::Water ? 0 : 1;
  GridKey key;
  key.Choice = 1 | formula << 8 | factor << 16 | operation << 24;
  if (factor != 0) key.PressureBits = BitCast<uint64_t>(pressureMbar);
  return key;
}

// Every node's grid point, accumulated from -40 by halved steps exactly as the search
// accumulates it, and the search's result there; computed once per process.
struct GridPoints {
  std::array<double, kGridNodes> Point{};
  std::array<double, kGridNodes> Rounded{};
};

const GridPoints& Grid() {
  static const std::unique_ptr<const GridPoints> grid = [] {
    auto g = std::make_unique<GridPoints>();
    std::array<double, kGridNodes> halves{};
    g->Point[1] = -40.0;
    halves[1] = 100.0 * 0.5;
    for (std::size_t i = 1; i < kGridNodes / 2; ++i) {
      g->Point[2 * i] = g->Point[i] - halves[i];
      g->Point[2 * i + 1] = g->Point[i] + halves[i];
      halves[2 * i] = halves[2 * i + 1] = halves[i] * 0.5;
    }
    for (std::size_t i = 1; i < kGridNodes; ++i) {
      g->Rounded[i] = RoundToPowerOfTen(g->Point[i], -2);
    }
    return std::unique_ptr<const GridPoints>(std::move(g));
  }();
  return *grid;
}

}  // namespace

struct DewPointGrid::Slot {
  using Node = DewPointGrid::Node;
  struct Interval {
    double Low;
    double High;
  };
  // Four nodes to a cache line, so that a node's four grandchildren share one line.
  struct alignas(64) Line {
    std::array<Node, 4> Nodes;
  };
  using Bits = std::array<uint64_t, kGridNodes / 64>;

  GridKey Key;  // Choice 0: unused
  uint64_t LastUse = 0;
  std::unique_ptr<Line[]> Lines;
  Node* Nodes = nullptr;
  // Each value is computed when the literal search would first compute it, so a search on
  // a new key costs what the literal one does. A search computes Above at every node it
  // visits and Below where it does not go right, so the values of a node that is known
  // (its Above) and of every node on its path are known wherever the path needs them.
  Bits AboveKnown{};
  Bits BelowKnown{};
  // The x whose search ends at a node, once a search has ended there (see EndInterval).
  std::unique_ptr<Interval[]> Ends;
  Bits EndKnown{};
  // A node, or a number from kGridNodes on for a search that left the last level there;
  // 0 for none. Never cleared: a guess is checked against the values of this key.
  std::unique_ptr<uint16_t[]> Guesses;
  uint16_t LastEnd = 0;

  static bool Test(const Bits& bits, std::size_t i) { return (bits[i >> 6] >> (i & 63)) & 1; }
  static void Set(Bits& bits, std::size_t i) { bits[i >> 6] |= uint64_t{1} << (i & 63); }

  void reset(const GridKey& key) {
    if (!Lines) {
      Lines = MakeUniqueArrayForOverwrite<Line>(kGridNodes / 4);
      Nodes = Lines[0].Nodes.data();
      Ends = MakeUniqueArrayForOverwrite<Interval>(kGridNodes);
      Guesses = std::make_unique<uint16_t[]>(kGridGuesses);
    }
    AboveKnown.fill(0);
    BelowKnown.fill(0);
    EndKnown.fill(0);
    Key = key;
  }
};

// A key seen without a slot, and how many searches it had since.
struct DewPointGrid::Recent {
  GridKey Key;  // Choice 0: unused
  uint32_t Searches = 0;
};

namespace {

struct ThreadGrids {
  std::array<DewPointGrid::Slot, kGridSlots> Slots;
  std::array<DewPointGrid::Recent, kRecentKeys> Recent;
  uint64_t Clock = 0;
};

ThreadGrids& Grids() {
  thread_local ThreadGrids grids;
  return grids;
}

DewPointGrid::Slot* TakeSlot(ThreadGrids& grids, const GridKey& key) {
  DewPointGrid::Slot* victim = &grids.Slots[0];
  for (DewPointGrid::Slot& slot : grids.Slots) {
    if (slot.LastUse < victim->LastUse) victim = &slot;
  }
  victim->reset(key);
  victim->LastUse = grids.Clock;
  return victim;
}

}  // namespace

// The key's slot, or else its entry among the recent keys, made when it has none.
void DewPointGrid::lookUp() {
  ThreadGrids& grids = Grids();
  ++grids.Clock;
  m_slot = nullptr;
  for (Slot& slot : grids.Slots) {
    if (slot.Key == m_key) {
      slot.LastUse = grids.Clock;
      m_slot = &slot;
      return;
    }
  }
  // One entry per hash of the key: a key that meets another there starts its count again.
  const uint64_t hash = (m_key.PressureBits ^ m_key.Choice) * 0x9E3779B97F4A7C15u;
  Recent& recent = grids.Recent[hash >> (64 - std::bit_width(kRecentKeys - 1))];
  if (!(recent.Key == m_key)) recent = Recent{m_key, 0};
  m_recent = &recent;
}

DewPointGrid::DewPointGrid(SaturationOperation op, double pressureMbar,
                           const PhysicsChoice& physics)
    : m_key(KeyOf(op, pressureMbar, physics)),
      m_op(op),
      m_pressureMbar(pressureMbar),
      m_physics(physics) {
  lookUp();
}

double DewPointGrid::rounded(std::size_t node) {
  return Grid().Rounded[node];
}

double DewPointGrid::saturation(double tC) const {
  return m_op == SaturationOperation::Water
             ? SaturationPressureWater(tC, m_pressureMbar, m_physics)
             : SaturationPressureDewFrost(tC, m_pressureMbar, m_physics);
}

// The literal search step by step on the node values from a node that x reaches: the same
// comparisons in the same order reach the same end. Leaving the last level is the search's
// final halving below 0.01 °C. Returns the end: the node where it stopped, or the number
// (from kGridNodes on) of the place below the last level where it left.
std::size_t DewPointGrid::walkFrom(std::size_t i, double x) {
  Slot& slot = *m_slot;
  Node* nodes = slot.Nodes;
  do {
    Node& node = nodes[i];
    if (!Slot::Test(slot.AboveKnown, i)) {
      node.Above = saturation(Grid().Point[i] + 0.01);
      Slot::Set(slot.AboveKnown, i);
    }
    if (node.Above < x) {
      i = 2 * i + 1;
      continue;
    }
    if (!Slot::Test(slot.BelowKnown, i)) {
      node.Below = saturation(Grid().Point[i] - 0.01);
      Slot::Set(slot.BelowKnown, i);
    }
    if (node.Below <= x) return i;
    i = 2 * i;
  } while (i < kGridNodes);
  return i;
}

// The same walk from the root for a key without a slot: each value computed where the
// literal search computes it, kept only along the path for endInterval.
std::size_t DewPointGrid::walkUnkept(double x) {
  const auto walk = [&](auto saturation) -> std::size_t {
    // The grid point accumulated as Grid() and the literal search accumulate it, which
    // spares reading it from memory.
    double a = -40.0;
    double half = 50.0;
    std::size_t i = 1;
    Node* node = m_path.data();
    do {
      node->Above = saturation(a + 0.01);
      if (node->Above < x) {
        a = a + half;
        i = 2 * i + 1;
      } else {
        node->Below = saturation(a - 0.01);
        if (node->Below <= x) return i;
        a = a - half;
        i = 2 * i;
      }
      half = half * 0.5;
      ++node;
    } while (i < kGridNodes);
    return 0;
  };
  if (m_op == SaturationOperation::Water) {
    return walk([this](double t) { return SaturationPressureWater(t, m_pressureMbar, m_physics); });
  }
  return walk(
      [this](double t) { return SaturationPressureDewFrost(t, m_pressureMbar, m_physics); });
}

namespace {

// The guess for x, or nothing (kGridGuesses) outside the guessed exponents, for zero, a
// negative x and NaN: their bits fall outside the range too.
std::size_t GuessIndex(double x) {
  constexpr uint64_t kFirst = uint64_t{1023 + kGuessLowestExponent} << kGuessBits;
  const uint64_t index = (BitCast<uint64_t>(x) >> (52 - kGuessBits)) - kFirst;
  return index < kGridGuesses ? static_cast<std::size_t>(index) : kGridGuesses;
}

// The x (not NaN) whose search ends at node e, as one closed interval: every comparison on
// e's path bounds x from one side. Going right at an ancestor needs x > its Above, going
// left x <= its Above and x < its Below, and ending at e x <= its Above and x >= its
// Below; a comparison with NaN is false whatever x is, so it bounds nothing where it must
// fail and admits nothing where it must hold. A strict bound becomes the next double, so
// that both ends are inclusive; an impossible one makes the interval empty. Reads only
// values the walk to e computed, through nodes(i), the values of node i.
template <class Nodes>
DewPointGrid::Slot::Interval EndInterval(Nodes nodes, std::size_t e) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr DewPointGrid::Slot::Interval kEmpty{kInf, -kInf};
  DewPointGrid::Slot::Interval in{-kInf, kInf};
  const auto atMost = [&](double v) {  // x <= v, v not NaN
    if (v < in.High) in.High = v;
  };
  const auto atLeast = [&](double v) {  // x >= v, v not NaN
    if (v > in.Low) in.Low = v;
  };
  for (std::size_t child = e; child > 1; child >>= 1) {
    const DewPointGrid::Node& ancestor = nodes(child >> 1);
    if (child & 1) {
      if (std::isnan(ancestor.Above) || ancestor.Above == kInf) return kEmpty;
      atLeast(std::nextafter(ancestor.Above, kInf));
    } else {
      if (!std::isnan(ancestor.Above)) atMost(ancestor.Above);
      if (!std::isnan(ancestor.Below)) {
        if (ancestor.Below == -kInf) return kEmpty;
        atMost(std::nextafter(ancestor.Below, -kInf));
      }
    }
  }
  const DewPointGrid::Node& end = nodes(e);
  if (std::isnan(end.Below)) return kEmpty;
  atLeast(end.Below);
  if (!std::isnan(end.Above)) atMost(end.Above);
  return in;
}

}  // namespace

// Whether every value that checking the path to end e reads was computed for this key: a
// node is visited only through its ancestors, going their way, so a visited node's path
// is known, Below included where the path goes left. A place below the last level needs
// its node's Below too when the walk left it to the left.
bool DewPointGrid::pathKnown(std::size_t e) const {
  if (e < kGridNodes) return Slot::Test(m_slot->AboveKnown, e);
  const std::size_t last = e >> 1;
  return Slot::Test(m_slot->AboveKnown, last) && ((e & 1) || Slot::Test(m_slot->BelowKnown, last));
}

// The search ends where the guess for x says when that is certain: at a node whose
// interval of x is known, two comparisons tell. Otherwise the guess's whole path is
// checked at once, as x reaches it exactly when every ancestor's comparisons send x the
// way the path goes, and where x leaves the path the walk continues from the last node
// they share. A guess is used only when its path is known in this slot; a guess left from
// another key may name a node that a walk passed without ending there, so its own Below is
// read only when known.
std::size_t DewPointGrid::searchNode(double x) {
  if (m_slot == nullptr) {
    // Another grid of this thread may have given the key a slot or taken its entry since.
    if (!(m_recent->Key == m_key)) lookUp();
    if (m_slot == nullptr) {
      if (++m_recent->Searches < kSearchesBeforeSlot) return walkUnkept(x);
      *m_recent = Recent{};
      m_slot = TakeSlot(Grids(), m_key);
    }
  }
  Slot& slot = *m_slot;
  const Node* nodes = slot.Nodes;
  const std::size_t guessAt = GuessIndex(x);
  const std::size_t guess = guessAt < kGridGuesses ? slot.Guesses[guessAt] : slot.LastEnd;
  std::size_t end;
  if (guess != 0 && guess < kGridNodes && Slot::Test(slot.EndKnown, guess) &&
      slot.Ends[guess].Low <= x && x <= slot.Ends[guess].High) {
    end = guess;
  } else if (guess == 0 || std::isnan(x) || !pathKnown(guess)) {
    end = walkFrom(1, x);
  } else {
    const int depth = std::bit_width(guess) - 1;
    uint32_t departs = 0;  // bit k: x does not follow the path at level k
    for (int k = 0; k < depth; ++k) {
      const Node& node = nodes[guess >> (depth - k)];
      const bool pathRight = (guess >> (depth - k - 1)) & 1;
      const bool right = node.Above < x;
      // Below is read only where the path goes left, where the walk computed it.
      const bool stops = !pathRight && !right && node.Below <= x;
      departs |= static_cast<uint32_t>((right != pathRight) | stops) << k;
    }
    if (departs != 0) {
      end = walkFrom(guess >> (depth - std::countr_zero(departs)), x);
    } else if (guess >= kGridNodes || (Slot::Test(slot.BelowKnown, guess) &&
                                       !(nodes[guess].Above < x) && nodes[guess].Below <= x)) {
      end = guess;
    } else {
      end = walkFrom(guess, x);
    }
  }
  if (end < kGridNodes && !Slot::Test(slot.EndKnown, end)) {
    slot.Ends[end] = EndInterval([nodes](std::size_t i) -> const Node& { return nodes[i]; }, end);
    Slot::Set(slot.EndKnown, end);
  }
  const auto stored = static_cast<uint16_t>(end);
  if (guessAt < kGridGuesses) slot.Guesses[guessAt] = stored;
  slot.LastEnd = stored;
  return end < kGridNodes ? end : 0;
}

void DewPointGrid::endInterval(std::size_t node, double& low, double& high) const {
  if (m_slot == nullptr) {
    const auto path = [this](std::size_t i) -> const Node& {
      return m_path[static_cast<std::size_t>(std::bit_width(i) - 1)];
    };
    const Slot::Interval in = EndInterval(path, node);
    low = in.Low;
    high = in.High;
    return;
  }
  low = m_slot->Ends[node].Low;
  high = m_slot->Ends[node].High;
}

double DewPointGrid::search(double x) {
  const std::size_t node = searchNode(x);
  return node == 0 ? OutOfRange : rounded(node);
}

}  // namespace tavimor
