#include "cli/accuracy_report.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/calc_settings.h"
#include "core/formula_accuracy.h"

namespace tavimor {

namespace {

struct Band {
  std::string_view Heading;
  double LowC;
  double HighC;
};

constexpr std::array<Band, 2> kIceBands = {{{"-100..-50", -100, -50}, {"-50..0", -50, 0}}};
constexpr std::array<Band, 3> kWaterBands = {
    {{"-40..0", -40, 0}, {"0..50", 0, 50}, {"50..100", 50, 100}}};
constexpr std::array<Band, 3> kEnhancementBands = {
    {{"-80..-10", -80, -10}, {"10..50", 10, 50}, {"50..90", 50, 90}}};

constexpr int kNameWidth = 20;
constexpr int kColumnWidth = 10;

// Pads to a width in characters; the names hold multi-byte UTF-8.
void AppendPadded(std::string& out, std::string_view text, int width) {
  out.append(text);
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) --width;
  }
  out.append(static_cast<std::size_t>(width > 0 ? width : 0), ' ');
}

void AppendRight(std::string& out, std::string_view text) {
  out.append(static_cast<std::size_t>(kColumnWidth) - text.size(), ' ');
  out.append(text);
}

void AppendPercent(std::string& out, double relative) {
  char text[32];
  const double percent = 100 * relative;
  // A deviation that rounds to zero shows no sign.
  if (std::fabs(percent) < 0.0005) {
    std::snprintf(text, sizeof text, "%.3f", 0.0);
  } else {
    std::snprintf(text, sizeof text, "%+.3f", percent);
  }
  AppendRight(out, text);
}

}  // namespace

std::string FormulaAccuracyTable() {
  std::string out =
      "Largest relative deviation from the reference values, in percent; the values and\n"
      "their sources are in resources/reference/saturation_reference.csv.\n"
      "\n"
      "Saturation vapour pressure, no enhancement factor\n";
  AppendPadded(out, "", kNameWidth);
  AppendPadded(out, "   over ice", 2 * kColumnWidth);
  out.append("   over water\n");
  AppendPadded(out, "temperature (°C)", kNameWidth);
  for (const Band& band : kIceBands) AppendRight(out, band.Heading);
  for (const Band& band : kWaterBands) AppendRight(out, band.Heading);
  out.push_back('\n');
  for (const ChoiceRow<SwvpFormula>& formula : kSwvpFormulaChoices) {
    AppendPadded(out, formula.Title, kNameWidth);
    const auto append = [&](ReferencePhase phase, const Band& band) {
      AppendPercent(out,
                    SaturationDeviations(formula.Value, phase, band.LowC, band.HighC).Largest());
    };
    for (const Band& band : kIceBands) append(ReferencePhase::Ice, band);
    for (const Band& band : kWaterBands) append(ReferencePhase::Water, band);
    out.push_back('\n');
  }
  out.append(
      "Under Hyland and Wexler the ice equation serves supercooled water too.\n"
      "\n"
      "Enhancement factor of air, 1013.25 to 20000 mbar\n");
  AppendPadded(out, "", kNameWidth);
  AppendPadded(out, "   over ice", kColumnWidth);
  out.append("   over water\n");
  AppendPadded(out, "temperature (°C)", kNameWidth);
  for (const Band& band : kEnhancementBands) AppendRight(out, band.Heading);
  out.push_back('\n');
  for (const ChoiceRow<EnhancementFactor>& factor : kEnhancementFactorChoices) {
    AppendPadded(out, factor.Title, kNameWidth);
    for (const Band& band : kEnhancementBands) {
      AppendPercent(out, EnhancementDeviations(factor.Value, band.LowC, band.HighC).Largest());
    }
    out.push_back('\n');
  }
  return out;
}

}  // namespace tavimor
