#include "model/spread_line.h"

#include "core/moisture_conversion.h"
#include "core/moisture_format.h"

namespace tavimor {

namespace {

constexpr std::string_view kSpreadLead =
    "Over the 4 saturation-pressure formulas and 3 enhancement-factor choices: ";
constexpr std::string_view kSameLead = "All formula choices give ";
constexpr std::string_view kNaturalGasTail = " under the natural-gas method";

}  // namespace

std::string_view SpreadUnitText(MoistureUnit unit) {
  std::string_view entry = kMoistureUnits[static_cast<std::size_t>(unit)].ComboText;
  entry = entry.substr(0, entry.find(" - "));
  while (!entry.empty() && entry.back() == ' ') entry.remove_suffix(1);
  return entry;
}

std::string SpreadLine(const MoistureSpread& spread, int toUnit, bool naturalGasDecides) {
  const auto unit = MoistureUnitFromIndex(toUnit);
  if (!spread.Valid || !unit) return std::string(kSpreadLead) + std::string(kOutOfRangeText);
  // The texts the result field would show, "-0.0" included, so the line never disagrees
  // with it.
  const std::string min = FormatMoistureValue(*unit, spread.Min);
  const std::string max = FormatMoistureValue(*unit, spread.Max);
  std::string line;
  if (min == max) {
    line = std::string(kSameLead) + min;
  } else {
    line = std::string(kSpreadLead) + min + " to " + max;
  }
  line += ' ';
  line += SpreadUnitText(*unit);
  if (min == max && naturalGasDecides) line += kNaturalGasTail;
  return line;
}

}  // namespace tavimor
