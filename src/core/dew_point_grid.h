#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/saturation.h"

namespace tavimor {

// The dew-point searches test only the fixed grid points -40 ± 50 ± 25 ± ... ± 100/2^13 °C:
// a binary tree of 14 levels, kGridNodes - 1 nodes in heap order (root 1, children 2i and
// 2i + 1). The saturation values at a node's ±0.01 °C neighbours depend only on the formula,
// the enhancement factor, the operation and (with a factor) the total pressure, so each
// thread keeps them for its kGridSlots most recently used such keys, filled as the searches
// first need them, and for each node where a search ended the interval of x that end
// there. A slot holds kGridNodes × 16 bytes of values and as many of intervals (256 KiB
// each), 6 KiB of flags and kGridGuesses × 2 bytes of guesses (88 KiB): at most 606 KiB,
// so a thread that converts holds at most about 2.4 MiB, of which the pages never touched
// take no memory; the grid points and results shared by all keys take 256 KiB once. Nothing
// is shared between threads, and a slot taken over by another key forgets every value it
// knew.
//
// Why the result is the literal search's to the last bit: the search walks the same fixed
// tree and makes the same comparisons; each saturation value it compares is the very double
// the literal search computes at that point (the same function on the same arguments,
// computed when first needed and kept only under the key that fixes every input it reads);
// and a remembered end node or guess is only a shortcut that is verified against the
// node's exact interval before it is used. So every comparison, the end node and the
// rounding after it are the literal search's.
//
// A key earns a slot only with its kSearchesBeforeSlot-th search (counted for the last
// kRecentKeys keys seen without one, by their hash): until then a search computes its
// values as the literal search does and keeps none, so that a pressure that changes with
// every row of a table costs no more than the literal search and evicts no slot, while a
// pressure that repeats soon settles in one.
inline constexpr std::size_t kGridLevels = 14;
inline constexpr std::size_t kGridNodes = std::size_t{1} << kGridLevels;
inline constexpr std::size_t kGridSlots = 4;
inline constexpr std::size_t kRecentKeys = 8;  // a power of two
inline constexpr uint32_t kSearchesBeforeSlot = 3;

// Where a search of x ended last, per range of x: the binary exponents 2^-34 to 2^10 (the
// partial pressures within the searches' reach), each cut into 2^kGuessBits ranges of
// equal width. A guess only says where to check first: it is always verified.
inline constexpr int kGuessBits = 10;
inline constexpr int kGuessLowestExponent = -34;
inline constexpr int kGuessExponents = 44;
inline constexpr std::size_t kGridGuesses = std::size_t{kGuessExponents} << kGuessBits;

enum class SaturationOperation { Water, DewFrost };

// The cached grid of the calling thread for one key, looked up once and then used for any
// number of searches; valid until the thread looks up another key (which may take over
// this slot).
class DewPointGrid {
 public:
  DewPointGrid(SaturationOperation op, double pressureMbar, const PhysicsChoice& physics);

  // The node the search for x ends at, or 0 when it ends with OutOfRange.
  std::size_t searchNode(double xMbar);

  // The search result: the node's grid point rounded to 0.01 °C, or OutOfRange.
  double search(double xMbar);

  // The rounded grid point of a node returned by searchNode (not 0).
  static double rounded(std::size_t node);

  // For the node the last searchNode returned (not 0): the searches that end there are
  // exactly those of the x with low <= x <= high.
  void endInterval(std::size_t node, double& low, double& high) const;

  struct Slot;
  struct Recent;
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
  double saturation(double tC) const;
  bool pathKnown(std::size_t end) const;
  std::size_t walkFrom(std::size_t node, double x);
  std::size_t walkUnkept(double x);

  void lookUp();

  Slot* m_slot = nullptr;      // nothing while the key has no slot
  Recent* m_recent = nullptr;  // then its count of searches
  Key m_key;
  SaturationOperation m_op;
  double m_pressureMbar;
  PhysicsChoice m_physics;
  // The values on the path of the last search made without a slot, by level.
  std::array<Node, kGridLevels> m_path;
};

}  // namespace tavimor
