#pragma once

#include <array>
#include <cstddef>

namespace tavimor {

// A table of one row per member of an enumeration that cannot compile short: exactly N rows
// must be given. (An std::array given too few initialisers fills the rest with empty rows
// without a word.)
template <class Row, std::size_t N, std::size_t Given>
constexpr std::array<Row, N> CompleteTable(const Row (&rows)[Given]) {
  static_assert(Given == N, "one row per member, no more, no less");
  std::array<Row, N> table{};
  for (std::size_t i = 0; i < N; ++i) table[i] = rows[i];
  return table;
}

// Whether each row stands at the position its Index names.
template <class Row, std::size_t N>
constexpr bool InIndexOrder(const std::array<Row, N>& table) {
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i].Index != static_cast<decltype(table[i].Index)>(i)) return false;
  }
  return true;
}

}  // namespace tavimor
