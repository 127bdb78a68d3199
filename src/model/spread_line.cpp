#include "model/spread_line.h"

#include <array>

#include "core/moisture_conversion.h"
#include "core/moisture_format.h"

namespace tavimor {

namespace {

constexpr std::string_view kSpreadLead = "Across the 4 formulas and 3 enhancement choices: ";

// Indexed by MoistureUnit.
constexpr std::array<std::string_view, kMoistureUnitCount> kSpreadUnitTexts = {
    "mbar",         "°C dew/frost point", "°F dew/frost point",
    "°C dew point", "°F dew point",       "ppmv",
    "ppmw",         "lb/MMSCF",           "g/m³",
    "%RH",          "ppmw in the liquid",
};

}  // namespace

std::string_view SpreadUnitText(MoistureUnit unit) {
  return kSpreadUnitTexts[static_cast<std::size_t>(unit)];
}

std::string SpreadLine(const MoistureSpread& spread, int toUnit) {
  std::string line(kSpreadLead);
  const auto unit = MoistureUnitFromIndex(toUnit);
  if (!spread.Valid || !unit) {
    line += kOutOfRangeText;
    return line;
  }
  line += FormatMoistureValue(*unit, spread.Min);
  line += " to ";
  line += FormatMoistureValue(*unit, spread.Max);
  line += ' ';
  line += SpreadUnitText(*unit);
  return line;
}

}  // namespace tavimor
