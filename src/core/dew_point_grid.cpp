#include "core/dew_point_grid.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
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
  const auto formula = static_cast<uint64_t>(FormulaKindOf(physics.SwvpFormula));
  const FactorKind factor = FactorKindOf(physics.EnhancementFactor);
  const uint64_t operation = op == SaturationOperation::Water ? 0 : 1;
  GridKey key;
  key.Choice = 1 | formula << 8 | static_cast<uint64_t>(factor) << 16 | operation << 24;
  if (factor != FactorKind::None) key.PressureBits = BitCast<uint64_t>(pressureMbar);
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
  // Each value is computed when the literal search would first compute it. A search
  // computes Above at every node it visits and Below where it does not go right, so the
  // values of a node that is known (its Above) and of every node on its path are known
  // wherever the path needs them.
  Bits AboveKnown{};
  Bits BelowKnown{};
  // The x whose search ends at a node, once a search has ended there (see EndInterval).
  std::unique_ptr<Interval[]> Ends;
  Bits EndKnown{};
  // The x whose search leaves the tree below its leftmost or rightmost node: a partial
  // pressure below the grid's reach (zero, negative) or above it, as the water-content
  // search tries them.
  Interval LeftExit{1, 0};
  Interval RightExit{1, 0};
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
    LeftExit = RightExit = Interval{1, 0};
    Key = key;
  }
};

// A key seen without a slot: its searches since the lookup numbered First.
struct DewPointGrid::Recent {
  GridKey Key;  // Choice 0: unused
  uint32_t Searches = 0;
  uint64_t First = 0;
};

// The pressure-free parts of one formula, factor and operation at each node's neighbours
// (index 0 Above, 1 Below), and with a factor an estimate of the comparison with x that is
// linear in 1/P and P.
struct DewPointGrid::Parts {
  // Greenspan: ln S = Y0 + C1 / P + C2 P, with Y0 = ln E + alpha - exp(beta),
  // C1 = -alpha E and C2 = exp(beta) / E.
  // Bögel: S = Y0 + C1 / P + C2 P, with Y0 = E (1 + c (a - b)), C1 = -a c E^2, C2 = b c.
  // C1 and C2 in single precision, so that two nodes share a cache line. Y0 is NaN where
  // the premises of the error bound (EstimateCompare) fail: no estimate there.
  struct alignas(32) Estimate {
    double Y0[2];
    float C1[2];
    float C2[2];
  };
  using Bits = std::array<uint64_t, kGridNodes / 64>;

  uint64_t Choice = 0;  // as in the key; 0: unused
  uint64_t LastUse = 0;
  FactorKind Factor = FactorKind::None;
  std::unique_ptr<Estimate[]> Estimates;  // with a factor
  // With a factor, the parts themselves, kept apart and filled only where a slot or an
  // undecided comparison asks for an exact value.
  std::unique_ptr<SaturationParts[]> Exacts;
  Bits ExactKnown{};
  std::unique_ptr<Node[]> Plain;  // without: E itself is the saturation value
  Bits Known{};

  void reset(uint64_t choice, FactorKind factor) {
    if (factor == FactorKind::None) {
      if (!Plain) Plain = MakeUniqueArrayForOverwrite<Node>(kGridNodes);
    } else if (!Estimates) {
      Estimates = MakeUniqueArrayForOverwrite<Estimate>(kGridNodes);
    }
    Known.fill(0);
    ExactKnown.fill(0);
    Choice = choice;
    Factor = factor;
  }
};

namespace {

struct ThreadGrids {
  std::array<DewPointGrid::Slot, kGridSlots> Slots;
  std::array<DewPointGrid::Recent, kRecentKeys> Recent;
  std::array<DewPointGrid::Parts, kPartsGrids> Parts;
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

// The key's slot, or else its entry among the recent keys, counting afresh when it has none
// or its first search there lies more than kSlotWindow lookups back.
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
  if (!(recent.Key == m_key) || grids.Clock - recent.First > kSlotWindow) {
    recent = Recent{m_key, 0, grids.Clock};
  }
  m_recent = &recent;
}

DewPointGrid::DewPointGrid(SaturationOperation op, double pressureMbar,
                           const PhysicsChoice& physics)
    : m_key(KeyOf(op, pressureMbar, physics)),
      m_op(op),
      m_formula(FormulaKindOf(physics.SwvpFormula)),
      m_factor(FactorKindOf(physics.EnhancementFactor)),
      m_pressureMbar(pressureMbar) {
  lookUp();
}

double DewPointGrid::rounded(std::size_t node) {
  return Grid().Rounded[node];
}

// The parts of this key's formula, factor and operation, taking over the least recently
// used entry when they have none.
DewPointGrid::Parts& DewPointGrid::parts() {
  if (m_parts != nullptr) return *m_parts;
  ThreadGrids& grids = Grids();
  const uint64_t choice = m_key.Choice;
  Parts* victim = &grids.Parts[0];
  for (Parts& p : grids.Parts) {
    if (p.Choice == choice) {
      victim = &p;
      break;
    }
    if (p.LastUse < victim->LastUse) victim = &p;
  }
  if (victim->Choice != choice) victim->reset(choice, m_factor);
  victim->LastUse = grids.Clock;
  m_parts = victim;
  return *victim;
}

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A coefficient of the estimate in single precision, or NaN where that would lose more than
// its relative rounding (below the normal range) so that the estimate is not used.
float Coefficient(double c, double& y0) {
  const auto f = static_cast<float>(c);
  if (f != 0 && !(std::fabs(f) >= std::numeric_limits<float>::min())) y0 = kNaN;
  return f;
}

// The estimate of one neighbour from its parts; see EstimateCompare for the bound it serves.
void Estimate(FactorKind factor, const SaturationParts& p, DewPointGrid::Parts::Estimate& e,
              int side) {
  double y0 = kNaN;
  double c1;
  double c2;
  // 2^-100 <= E <= 2^100 (true on the whole grid), so that with a pressure from 2^-500 to
  // 2^500 every quotient of E and P is a normal double.
  const bool inRange = p.E >= 0x1p-100 && p.E <= 0x1p100;
  if (factor == FactorKind::Greenspan) {
    // |alpha| + exp(beta) <= 1 (true on the whole grid).
    if (inRange && std::fabs(p.A) + std::fabs(p.B) <= 1) y0 = std::log(p.E) + (p.A - p.B);
    c1 = -p.A * p.E;
    c2 = p.B / p.E;
  } else {
    // |c| (|a| + |b|) <= 1/2 (true on the whole grid), so that |Y0| >= E / 2.
    if (inRange && std::fabs(p.C) * (std::fabs(p.A) + std::fabs(p.B)) <= 0.5) {
      y0 = p.E * (1 + p.C * (p.A - p.B));
    }
    c1 = -p.A * p.C * p.E * p.E;
    c2 = p.B * p.C;
  }
  e.C1[side] = Coefficient(c1, y0);
  e.C2[side] = Coefficient(c2, y0);
  e.Y0[side] = y0;
}

// Fills node i of parts p, both neighbours, at the temperatures the literal search passes.
void FillParts(DewPointGrid::Parts& p, std::size_t i, SaturationOperation op, FormulaKind formula) {
  const double t[2] = {Grid().Point[i] + 0.01, Grid().Point[i] - 0.01};
  if (p.Factor == FactorKind::None) {
    p.Plain[i] = {SaturationPartsAt(op, formula, p.Factor, t[0]).E,
                  SaturationPartsAt(op, formula, p.Factor, t[1]).E};
  } else {
    for (int side = 0; side < 2; ++side) {
      Estimate(p.Factor, SaturationPartsAt(op, formula, p.Factor, t[side]), p.Estimates[i], side);
    }
  }
  p.Known[i >> 6] |= uint64_t{1} << (i & 63);
}

bool PartsKnown(const DewPointGrid::Parts& p, std::size_t i) {
  return (p.Known[i >> 6] >> (i & 63)) & 1;
}

}  // namespace

// The saturation value at a neighbour of node i (side 0 Above, 1 Below) at this key's
// pressure, by the operations of SaturationPressureWater and SaturationPressureDewFrost on
// the kept parts.
double DewPointGrid::exactValue(std::size_t i, int side) {
  Parts& p = parts();
  if (!p.Exacts) p.Exacts = MakeUniqueArrayForOverwrite<SaturationParts>(2 * kGridNodes);
  SaturationParts& parts = p.Exacts[2 * i + static_cast<std::size_t>(side)];
  if (!((p.ExactKnown[i >> 6] >> (i & 63)) & 1)) {
    p.Exacts[2 * i] = SaturationPartsAt(m_op, m_formula, m_factor, Grid().Point[i] + 0.01);
    p.Exacts[2 * i + 1] = SaturationPartsAt(m_op, m_formula, m_factor, Grid().Point[i] - 0.01);
    p.ExactKnown[i >> 6] |= uint64_t{1} << (i & 63);
  }
  return EnhancedFromParts(m_factor, parts, m_pressureMbar);
}

// Both saturation values of node i at this key's pressure, exactly as the literal search
// computes them: without a factor the kept ones.
DewPointGrid::Node DewPointGrid::exactNode(std::size_t i) {
  if (m_factor != FactorKind::None) return {exactValue(i, 0), exactValue(i, 1)};
  Parts& p = parts();
  if (!PartsKnown(p, i)) FillParts(p, i, m_op, m_formula);
  return p.Plain[i];
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
      node = exactNode(i);
      Slot::Set(slot.AboveKnown, i);
      Slot::Set(slot.BelowKnown, i);
    }
    if (node.Above < x) {
      i = 2 * i + 1;
      continue;
    }
    if (node.Below <= x) return i;
    i = 2 * i;
  } while (i < kGridNodes);
  return i;
}

namespace {

// The estimate that decides most comparisons of walkParts without the exact value.
//
// Greenspan. The literal value is S = fl(E fl(exp(G))) with G = fl(alpha (1 - E/P) +
// exp(beta) (P/E - 1)) (saturation_parts.h). Its exact counterpart G* = (alpha - exp(beta)) +
// C1/P + C2 P differs from G by at most 2^-50 T, and the estimate Y = fl(Y0 + fl(c1 fl(1/P)) +
// fl(c2 P)) from ln E + G* by at most 2^-50 (|ln E| + T) + 2^-23 (|t1| + |t2|), where
// T = |alpha| + exp(beta) + |C1/P| + |C2 P|, c1 and c2 are C1 and C2 in single precision
// (each within 2^-24 of its size) and t1, t2 the two products (a few roundings, each within
// 2^-53 of a term of T). With |alpha| + exp(beta) <= 1 and |t1| + |t2| <= 600, |G| <= 602,
// so exp(G) and S are normal doubles and, exp within a few ulp (glibc documents at most 1),
// |ln S - ln E - G| <= 2^-50. With ln E and L = fl(log x) within 2^-52 of their size,
// D = fl(Y - L) obeys
//   |D - (ln S - ln x)| <= 2^-47 (3 + |Y0| + |t1| + |t2| + |L|) + 2^-22 (|t1| + |t2|) < m,
//   m = 2^-40 (3 + 4 |Y0| + |t1| + |t2| + |L|) + 2^-21 (|t1| + |t2|),
// so D < -m means S < x and D > m means S > x.
// Bögel. S = fl(E fl(1 + fl(fl(a (1 - E/P)) + fl(b (P/E - 1))) c)) and its exact counterpart
// Y0 + C1/P + C2 P differ by at most 2^-49 E (1 + |c| (|a| + |b|)) + 2^-50 (|C1/P| + |C2 P|);
// the estimate Y adds as much and 2^-23 (|t1| + |t2|), and D = fl(Y - x) 2^-53 |D|. With
// |c| (|a| + |b|) <= 1/2, so that E <= 2 |Y0|, |D - (S - x)| is below the same m with x for L.
// Both bounds hold only while no operation of the literal value leaves the doubles: a
// quotient P/E beyond the largest double makes S infinite where its exact counterpart is
// not. So the estimate is used only for pressures from 2^-500 to 2^500 and for E from 2^-100
// to 2^100, where every quotient and product is finite (a result below the normal range
// adds at most 2^-1074, far below m). Only |D| <= m (a root within about 1e-10 °C of the
// neighbour), a NaN, an infinity or a premise that fails (Y0 or L NaN) leaves the
// comparison to the exact S.
constexpr double kEstimateMargin = 0x1p-40;
constexpr double kCoefficientMargin = 0x1p-21;

// Both neighbours of a node at once.
using Pair = double __attribute__((vector_size(16)));
using PairBits = uint64_t __attribute__((vector_size(16)));
using FloatPair = float __attribute__((vector_size(8)));

Pair Load(const double (&v)[2]) {
  Pair r;
  std::memcpy(&r, v, sizeof r);
  return r;
}

Pair Load(const float (&v)[2]) {
  FloatPair r;
  std::memcpy(&r, v, sizeof r);
  return __builtin_convertvector(r, Pair);
}

Pair Abs(Pair v) {
  PairBits bits;
  std::memcpy(&bits, &v, sizeof bits);
  bits &= 0x7fffffffffffffffu;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// A node's two comparisons as the estimate decides them: per neighbour, S < x certain, or
// S > x certain, or neither.
struct Decisions {
  PairBits Less;
  PairBits Greater;
};

template <FactorKind kFactor>
struct EstimateCompare {
  double X;
  Pair Against;  // Greenspan: ln x (NaN where x is not a positive normal number); Bögel: x
  Pair InverseP;
  Pair P;
  Pair Margin;  // the part of m that depends on x alone

  EstimateCompare(double x, double pressureMbar) : X(x) {
    double against = x;
    if constexpr (kFactor == FactorKind::Greenspan) {
      against = x >= std::numeric_limits<double>::min() && x <= std::numeric_limits<double>::max()
                    ? std::log(x)
                    : kNaN;
    }
    if (!(pressureMbar >= 0x1p-500 && pressureMbar <= 0x1p500)) against = kNaN;
    Against = Pair{against, against};
    const double inverse = 1 / pressureMbar;
    InverseP = Pair{inverse, inverse};
    P = Pair{pressureMbar, pressureMbar};
    const double margin = kEstimateMargin * (3 + std::fabs(against));
    Margin = Pair{margin, margin};
  }

  Decisions estimate(const DewPointGrid::Parts::Estimate& e) const {
    const Pair y0 = Load(e.Y0);
    const Pair t1 = Load(e.C1) * InverseP;
    const Pair t2 = Load(e.C2) * P;
    const Pair D = (y0 + t1 + t2) - Against;
    const Pair products = Abs(t1) + Abs(t2);
    const Pair m =
        Margin + kEstimateMargin * (4 * Abs(y0) + products) + kCoefficientMargin * products;
    if constexpr (kFactor == FactorKind::Greenspan) {
      const PairBits bounded = reinterpret_cast<PairBits>(products <= 600);
      return {reinterpret_cast<PairBits>(D < -m) & bounded,
              reinterpret_cast<PairBits>(D > m) & bounded};
    }
    return {reinterpret_cast<PairBits>(D < -m), reinterpret_cast<PairBits>(D > m)};
  }

  // Whether x goes right at node i, and else whether the search ends there, from the
  // estimate where it decides and from the exact value where it does not.
  template <class Exact>
  void decide(const Decisions& e, Exact exact, bool& right, bool& stop) const {
    if (e.Less[0] != 0) {
      right = true;
      stop = false;
      return;
    }
    right = e.Greater[0] == 0 && exact(0) < X;
    if (right) {
      stop = false;
    } else if (e.Less[1] != 0 || e.Greater[1] != 0) {
      stop = e.Less[1] != 0;
    } else {
      stop = exact(1) <= X;
    }
  }
};

}  // namespace

// The literal search from the root on the kept parts, for a key without a slot: with no
// factor on the values themselves, with a factor on the estimate where it decides and on
// the exact value where it does not. With a factor it takes two levels a step, estimating
// a node and both its children at once, so that the way down waits on one estimate per two
// levels and on no guessed branch. Returns the end as walkFrom does.
template <FactorKind kFactor>
std::size_t DewPointGrid::walkParts(double x) {
  Parts& p = parts();
  std::size_t i = 1;
  if constexpr (kFactor == FactorKind::None) {
    do {
      if (!PartsKnown(p, i)) FillParts(p, i, m_op, m_formula);
      const Node& n = p.Plain[i];
      if (n.Above < x) {
        i = 2 * i + 1;
        continue;
      }
      if (n.Below <= x) return i;
      i = 2 * i;
    } while (i < kGridNodes);
  } else {
    static_assert(kGridLevels % 2 == 0);
    const EstimateCompare<kFactor> compare(x, m_pressureMbar);
    do {
      // The children's flags are two neighbouring bits of one word.
      if (((p.Known[i >> 5] >> ((2 * i) & 63)) & 3) != 3 || !PartsKnown(p, i)) {
        for (const std::size_t k : {i, 2 * i, 2 * i + 1}) {
          if (!PartsKnown(p, k)) FillParts(p, k, m_op, m_formula);
        }
      }
      const Decisions top = compare.estimate(p.Estimates[i]);
      const Decisions left = compare.estimate(p.Estimates[2 * i]);
      const Decisions right = compare.estimate(p.Estimates[2 * i + 1]);
      bool goesRight;
      bool stops;
      compare.decide(
          top, [this, i](int side) { return exactValue(i, side); }, goesRight, stops);
      if (stops) return i;
      const std::size_t child = 2 * i + (goesRight ? 1 : 0);
      compare.decide(
          goesRight ? right : left, [this, child](int side) { return exactValue(child, side); },
          goesRight, stops);
      if (stops) return child;
      i = 2 * child + (goesRight ? 1 : 0);
    } while (i < kGridNodes);
  }
  return i;
}

// Every comparison with NaN is false, and so is every comparison of a negative x with a
// value that is not negative: such an x goes left at every node and leaves the tree below
// its leftmost node. Without a factor and with Greenspan the values are products of
// non-negative numbers (a power of ten or an exponential, times an exponential), so never
// negative; under Bögel a factor may be.
std::size_t DewPointGrid::walkParts(double x) {
  if (std::isnan(x) || (x < 0 && m_factor != FactorKind::Bogel)) return kGridNodes;
  switch (m_factor) {
    case FactorKind::Greenspan:
      return walkParts<FactorKind::Greenspan>(x);
    case FactorKind::Bogel:
      return walkParts<FactorKind::Bogel>(x);
    case FactorKind::None:
      break;
  }
  return walkParts<FactorKind::None>(x);
}

namespace {

// The guess for x, or nothing (kGridGuesses) outside the guessed exponents, for zero, a
// negative x and NaN: their bits fall outside the range too.
std::size_t GuessIndex(double x) {
  constexpr uint64_t kFirst = uint64_t{1023 + kGuessLowestExponent} << kGuessBits;
  const uint64_t index = (BitCast<uint64_t>(x) >> (52 - kGuessBits)) - kFirst;
  return index < kGridGuesses ? static_cast<std::size_t>(index) : kGridGuesses;
}

// The x (not NaN) whose search ends at e, as one closed interval: every comparison on e's
// path bounds x from one side. Going right at an ancestor needs x > its Above, going left
// x <= its Above and x < its Below, and ending at a node x <= its Above and x >= its Below
// (a place below the last level has no such end); a comparison with NaN is false whatever
// x is, so it bounds nothing where it must fail and admits nothing where it must hold. A
// strict bound becomes the next double, so that both ends are inclusive; an impossible one
// makes the interval empty. Reads only values the walk to e computed, through nodes(i), the
// values of node i.
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
    const DewPointGrid::Node ancestor = nodes(child >> 1);
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
  if (e >= kGridNodes) return in;
  const DewPointGrid::Node end = nodes(e);
  if (std::isnan(end.Below)) return kEmpty;
  atLeast(end.Below);
  if (!std::isnan(end.Above)) atMost(end.Above);
  return in;
}

// The nodes next to node n (not 0) in the order of their grid points, or 0 at either end:
// a leaf's neighbours are its nearest ancestors on either side, an inner node's the last
// leaves of its subtrees. Where x just missed a guess, it mostly ends there.
std::size_t InOrderBefore(std::size_t n) {
  const int below = static_cast<int>(kGridLevels) - std::bit_width(n);
  if (below > 0) return ((2 * n + 1) << (below - 1)) - 1;
  return n >> (std::countr_zero(n) + 1);
}

std::size_t InOrderAfter(std::size_t n) {
  const int below = static_cast<int>(kGridLevels) - std::bit_width(n);
  if (below > 0) return (2 * n + 1) << (below - 1);
  return n >> (std::countr_one(n) + 1);
}

constexpr std::size_t kLeftExit = kGridNodes;
constexpr std::size_t kRightExit = 2 * kGridNodes - 1;

bool Contains(const DewPointGrid::Slot::Interval& in, double x) {
  return in.Low <= x && x <= in.High;
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
std::size_t DewPointGrid::searchEnd(double x) {
  if (m_slot == nullptr) {
    // Another grid of this thread may have given the key a slot or taken its entry since.
    if (!(m_recent->Key == m_key)) lookUp();
    if (m_slot == nullptr) {
      if (++m_recent->Searches < kSearchesBeforeSlot) {
        m_endKept = false;
        return walkParts(x);
      }
      *m_recent = Recent{};
      m_slot = TakeSlot(Grids(), m_key);
    }
  }
  Slot& slot = *m_slot;
  m_endKept = true;
  const std::size_t guessAt = GuessIndex(x);
  const std::size_t guess = guessAt < kGridGuesses ? slot.Guesses[guessAt] : slot.LastEnd;
  // Most often the guess's interval holds x, and nothing is left to note.
  if (guess != 0 && guess < kGridNodes && Slot::Test(slot.EndKnown, guess) &&
      Contains(slot.Ends[guess], x)) {
    m_endLow = slot.Ends[guess].Low;
    m_endHigh = slot.Ends[guess].High;
    slot.LastEnd = static_cast<uint16_t>(guess);
    return guess;
  }
  if (Contains(slot.LeftExit, x)) {
    m_endLow = slot.LeftExit.Low;
    m_endHigh = slot.LeftExit.High;
    return kLeftExit;
  }
  if (Contains(slot.RightExit, x)) {
    m_endLow = slot.RightExit.Low;
    m_endHigh = slot.RightExit.High;
    return kRightExit;
  }
  const Node* nodes = slot.Nodes;
  const auto endsAt = [&slot, x](std::size_t node) {
    return node != 0 && node < kGridNodes && Slot::Test(slot.EndKnown, node) &&
           Contains(slot.Ends[node], x);
  };
  std::size_t end;
  if (guess != 0 && guess < kGridNodes && endsAt(InOrderBefore(guess))) {
    end = InOrderBefore(guess);
  } else if (guess != 0 && guess < kGridNodes && endsAt(InOrderAfter(guess))) {
    end = InOrderAfter(guess);
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
  const auto slotNodes = [nodes](std::size_t i) { return nodes[i]; };
  Slot::Interval in{1, 0};  // an exit in the middle: none kept
  if (end < kGridNodes) {
    if (!Slot::Test(slot.EndKnown, end)) {
      slot.Ends[end] = EndInterval(slotNodes, end);
      Slot::Set(slot.EndKnown, end);
    }
    in = slot.Ends[end];
  } else if (end == kLeftExit) {
    in = slot.LeftExit = EndInterval(slotNodes, end);
  } else if (end == kRightExit) {
    in = slot.RightExit = EndInterval(slotNodes, end);
  }
  m_endLow = in.Low;
  m_endHigh = in.High;
  const auto stored = static_cast<uint16_t>(end);
  if (guessAt < kGridGuesses) slot.Guesses[guessAt] = stored;
  slot.LastEnd = stored;
  return end;
}

void DewPointGrid::exitIntervals(double& leftLow, double& leftHigh, double& rightLow,
                                 double& rightHigh) const {
  const Slot::Interval none{1, 0};
  const Slot::Interval& left = m_slot != nullptr ? m_slot->LeftExit : none;
  const Slot::Interval& right = m_slot != nullptr ? m_slot->RightExit : none;
  leftLow = left.Low;
  leftHigh = left.High;
  rightLow = right.Low;
  rightHigh = right.High;
}

// Without a slot the interval is worked out from the exact values on the end's path.
void DewPointGrid::computeEndInterval(std::size_t end, double& low, double& high) {
  const Slot::Interval in = EndInterval([this](std::size_t i) { return exactNode(i); }, end);
  low = in.Low;
  high = in.High;
}

double DewPointGrid::search(double x) {
  const std::size_t end = searchEnd(x);
  return end < kGridNodes ? rounded(end) : OutOfRange;
}

}  // namespace tavimor
