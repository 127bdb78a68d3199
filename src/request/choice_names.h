#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/calc_settings.h"
#include "core/unit_tables.h"

namespace tavimor {

// Reading the names by which the front ends choose units, formulas, factors, methods and
// media (the rows of core's tables), and listing them in messages. Matching ignores ASCII
// case.

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// A list position written as at most three decimal digits, below count.
std::optional<int> ParseListIndex(std::string_view text, int count);

// A MoistureUnit index from its index or name ("5", "ppmv").
std::optional<int> ParseMoistureUnit(std::string_view text);

// A PressureUnit index from its index or name ("2", "psig", "PSIG").
std::optional<int> ParsePressureUnit(std::string_view text);

// The front ends' name of a pressure unit: its list text in lower case ("mbar", "kpa").
std::string PressureUnitName(int index);

template <class T, std::size_t N>
std::optional<T> ParseChoice(std::string_view text, const std::array<ChoiceRow<T>, N>& choices) {
  for (const ChoiceRow<T>& choice : choices) {
    if (EqualsIgnoringAsciiCase(text, choice.Name)) return choice.Value;
  }
  return std::nullopt;
}

// "a, b, c": the names of a table, for a message.
template <class T, std::size_t N>
std::string ChoiceNameList(const std::array<ChoiceRow<T>, N>& choices) {
  std::string list;
  for (const ChoiceRow<T>& choice : choices) {
    if (!list.empty()) list += ", ";
    list += choice.Name;
  }
  return list;
}

// The names of the moisture and the pressure units, the same way, with the indices that
// choose them too.
std::string MoistureUnitNameList();
std::string PressureUnitNameList();

}  // namespace tavimor
