#pragma once

#include <cstddef>
#include <cstdint>

#include "core/saturation_parts.h"

namespace tavimor {

// The dew-point searches test only the fixed grid points -40 ± 50 ± 25 ± ... ± 100/2^13 °C:
// a binary tree of 14 levels, kGridNodes - 1 nodes in heap order (root 1, children 2i and
// 2i + 1), each compared at its ±0.01 °C neighbours. Each thread keeps two caches of them.
//
// Parts: for each formula, factor and operation, what the saturation value at every
// neighbour is without the total pressure, filled as searches first need it, so that a
// search at a pressure of its own pays only for the few operations that bring the pressure
// in. Without a factor that is the value itself (256 KiB); with a factor an estimate of
// ln S or S linear in 1/P and P, which decides a comparison where its proven error bound
// allows (EstimateCompare, 512 KiB), and the pressure-free parts themselves
// (saturation_parts.h, 1 MiB), filled only where an exact value is asked for. kPartsGrids of
// them, so that the spread's twelve formula and factor choices fit, the least recently used
// giving way.
//
// Slots: for a key that recurs (formula, factor, operation and, with a factor, the total
// pressure) the saturation values themselves at every node and, for each node where a search
// ended, the interval of x that end there, so that a search is mostly one check of the node
// a guess names. kGridSlots of them, 870 KiB each (256 KiB of values, as much of intervals,
// 352 KiB of guesses, 6 KiB of flags). A key earns a slot only with its kSearchesBeforeSlot-th
// search within kSlotWindow lookups of its first: a table row's new pressure, or one of the
// spread's twelve keys that come back once a keystroke, never takes a slot from the keys
// that the graph and the panel use a thousand times a keystroke.
//
// Nothing is shared between threads; a cache taken over by another key forgets every value
// it knew. A thread that converts holds at most 3.4 MiB of slots and 18 MiB of parts, of
// which the pages never touched take no memory: a search touches about 20 nodes' lines.
// The grid points and results shared by all keys take 256 KiB once.
//
// Why the result is the literal search's to the last bit: the search walks the same fixed
// tree and makes the same comparisons; each comparison is either made on the very double
// the literal search computes at that point (the same operations on the same arguments,
// its pressure-free part kept under the key that fixes every input it reads), or decided by
// an estimate whose error bound (EstimateCompare) leaves no doubt about its outcome; and a
// remembered end node or guess is only a shortcut that is verified against the node's exact
// interval before it is used. So every comparison, the end node and the rounding after it
// are the literal search's.
inline constexpr std::size_t kGridLevels = 14;
inline constexpr std::size_t kGridNodes = std::size_t{1} << kGridLevels;
inline constexpr std::size_t kGridSlots = 4;
inline constexpr std::size_t kPartsGrids = 12;  // the spread's 12 choices fit
inline constexpr std::size_t kRecentKeys = 8;   // a power of two
inline constexpr uint32_t kSearchesBeforeSlot = 3;
inline constexpr uint64_t kSlotWindow = 16;

// Where a search of x ended last, per range of x: the binary exponents 2^-34 to 2^10 (the
// partial pressures within the searches' reach), each cut into 2^kGuessBits ranges of
// equal width, a few to a node's interval, so that most guesses hold. A guess only says
// where to check first: it is always verified.
inline constexpr int kGuessBits = 12;
inline constexpr int kGuessLowestExponent = -34;
inline constexpr int kGuessExponents = 44;
inline constexpr std::size_t kGridGuesses = std::size_t{kGuessExponents} << kGuessBits;

// The cached grid of the calling thread for one key, looked up once and then used for any
// number of searches; valid until the thread looks up another key (which may take over
// its caches).
class DewPointGrid {
 public:
  DewPointGrid(SaturationOperation op, double pressureMbar, const PhysicsChoice& physics);

  // Where the search for x ends: a node (below kGridNodes), or from kGridNodes on the place
  // below the last level where it leaves the tree, answering OutOfRange.
  std::size_t searchEnd(double xMbar);

  // The search result: the node's grid point rounded to 0.01 °C, or OutOfRange.
  double search(double xMbar);

  // The x that leave the tree below its leftmost node and below its rightmost node, as far
  // as this key's slot knows them (empty intervals, low > high, where it does not).
  void exitIntervals(double& leftLow, double& leftHigh, double& rightLow, double& rightHigh) const;

  // The rounded grid point of a node (not a place below the last level).
  static double rounded(std::size_t node);

  // For the end the last searchEnd returned: the searches that end there are exactly those
  // of the x with low <= x <= high (for a place below the last level, an interval of them,
  // possibly empty).
  void endInterval(std::size_t end, double& low, double& high) {
    if (m_endKept) {
      low = m_endLow;
      high = m_endHigh;
    } else {
      computeEndInterval(end, low, high);
    }
  }

  struct Slot;
  struct Recent;
  struct Parts;
  // Formula, factor and operation in Choice, never 0 for a key; 0 marks an entry unused.
  struct Key {
    uint64_t Choice = 0;
    uint64_t PressureBits = 0;
    friend bool operator==(const Key&, const Key&) = default;
  };
  // A node's saturation values: S(a + 0.01) and S(a - 0.01).
  struct Node {
    double Above;
    double Below;
  };

 private:
  Parts& parts();
  double exactValue(std::size_t i, int side);
  Node exactNode(std::size_t i);
  bool pathKnown(std::size_t end) const;
  std::size_t walkFrom(std::size_t node, double x);
  std::size_t walkParts(double x);
  template <FactorKind kFactor>
  std::size_t walkParts(double x);

  void lookUp();
  void computeEndInterval(std::size_t end, double& low, double& high);

  Slot* m_slot = nullptr;      // nothing while the key has no slot
  Recent* m_recent = nullptr;  // then its count of searches
  Parts* m_parts = nullptr;    // looked up when first needed
  Key m_key;
  SaturationOperation m_op;
  FormulaKind m_formula;
  FactorKind m_factor;
  double m_pressureMbar;
  // The interval of the last end, where the slot keeps it.
  bool m_endKept = false;
  double m_endLow = 1;
  double m_endHigh = 0;
};

}  // namespace tavimor
