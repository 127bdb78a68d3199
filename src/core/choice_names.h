#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/calc_settings.h"
#include "core/unit_tables.h"

namespace tavimor {

// The names by which the command line and the Python package choose units, formulas,
// factors, methods and media. Matching ignores ASCII case.

inline constexpr std::array<std::string_view, kMoistureUnitCount> kMoistureUnitNames = {
    "mbar", "dfp-c",    "dfp-f", "dp-c", "dp-f",       "ppmv",
    "ppmw", "lb-mmscf", "g-m3",  "rh",   "ppmw-liquid"};

template <typename T>
struct NamedChoice {
  std::string_view Name;
  T Value;
};

inline constexpr std::array<NamedChoice<SwvpFormula>, 4> kFormulaNames = {{
    {"goff-gratch", SwvpFormula::GoffGratch},
    {"hyland-wexler", SwvpFormula::HylandWexler},
    {"sonntag", SwvpFormula::Sonntag},
    {"magnus", SwvpFormula::Magnus},
}};

inline constexpr std::array<NamedChoice<EnhancementFactor>, 3> kEnhancementNames = {{
    {"none", EnhancementFactor::NoEnhancement},
    {"greenspan", EnhancementFactor::Greenspan},
    {"bogel", EnhancementFactor::Bogel},
}};

inline constexpr std::array<NamedChoice<GasMethod>, 2> kGasMethodNames = {{
    {"igt", GasMethod::IgtBulletin8},
    {"astm", GasMethod::Astm},
}};

inline constexpr std::array<NamedChoice<DensityMedium>, 3> kMediumNames = {{
    {"natural-gas", DensityMedium::NaturalGas},
    {"air", DensityMedium::AirMixture},
    {"vapor", DensityMedium::PureVapor},
}};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// A list position written as at most three decimal digits, below count.
std::optional<int> ParseListIndex(std::string_view text, int count);

// A MoistureUnit index from its index or name ("5", "ppmv").
std::optional<int> ParseMoistureUnit(std::string_view text);

// A PressureUnit index from its index or name ("2", "psig", "PSIG").
std::optional<int> ParsePressureUnit(std::string_view text);

template <typename T, std::size_t N>
std::optional<T> ParseChoice(std::string_view text, const std::array<NamedChoice<T>, N>& choices) {
  for (const auto& choice : choices) {
    if (EqualsIgnoringAsciiCase(text, choice.Name)) return choice.Value;
  }
  return std::nullopt;
}

}  // namespace tavimor
