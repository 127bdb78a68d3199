// The line below the strip's motto while the Moisture/Humidity panel is shown, driven
// through the panel's model as the widgets drive it.
#include "model/spread_line.h"

#include <gtest/gtest.h>

#include <string>

#include "model/moisture_model.h"

namespace tavimor {
namespace {

TEST(SpreadLine, SaysWhatVariesInTheToListsUnit) {
  struct Case {
    const char* name;
    int fromUnit;
    int toUnit;
    const char* pressureMbar;  // measured and compute-at
    const char* typed;         // into the From field
    DensityMedium toMedium;
    const char* expected;
  };
  constexpr auto kGas = DensityMedium::NaturalGas;
  const Case cases[] = {
      // The example of tavimor-convert --spread: -80 °C frost point at 20 bar.
      {"frost point at 20 bar to ppmv", 1, 5, "20000", "-80", kGas,
       "Over the 4 saturation-pressure formulas and 3 enhancement-factor choices: "
       "0.02661 to 0.03232 PPMv"},
      {"ppmv to frost point", 5, 1, "20000", "100", kGas,
       "Over the 4 saturation-pressure formulas and 3 enhancement-factor choices: "
       "-13.9 to -12.9 °C"},
      {"the unit with its gas", 1, 6, "1013.25", "0", kGas,
       "Over the 4 saturation-pressure formulas and 3 enhancement-factor choices: "
       "3761.4 to 3783.5 PPMw(mol/mol)"},
      // The default state: the result field shows "-0.0", and so does the line.
      {"frost point to frost point", 1, 1, "1013.25", "0.", kGas,
       "All formula choices give -0.0 °C"},
      {"no saturation involved", 5, 5, "1013.25", "100", kGas,
       "All formula choices give 100.0 PPMv"},
      {"lb/MMSCF", 5, 7, "1013.25", "1000", kGas,
       "All formula choices give 48.23 lbs H2O per Million Feet³ under the natural-gas method"},
      {"g/m³ of natural gas", 5, 8, "1013.25", "1000", kGas,
       "All formula choices give 0.7726 grams H2O per meter³ under the natural-gas method"},
      {"g/m³ of air", 5, 8, "1013.25", "1000", DensityMedium::AirMixture,
       "All formula choices give 0.7493 grams H2O per meter³"},
      {"no water, no frost point", 0, 1, "1013.25", "0", kGas,
       "Over the 4 saturation-pressure formulas and 3 enhancement-factor choices: out of range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CalcSettings settings;
    MoisturePanelState state;
    MoistureModel model(settings, state);
    model.load([](std::string_view) { return std::string(); });
    model.start();
    model.fromUnitPicked(c.fromUnit, std::nullopt);
    // The parameter dialog leaves the medium the side held.
    settings.To.DensityMedium = c.toMedium;
    model.toUnitPicked(c.toUnit, std::nullopt);
    model.measuredFieldNotified(c.pressureMbar);
    model.computeAtFieldNotified(c.pressureMbar);
    model.fromFieldNotified(c.typed);
    EXPECT_EQ(model.spreadLine(), c.expected);
    // One value for all: the one the result field shows.
    const std::string& line = model.spreadLine();
    if (line.rfind("All ", 0) == 0) {
      EXPECT_NE(line.find(" give " + model.text(MoistureField::Result) + " "), std::string::npos);
    }
  }
}

TEST(SpreadLine, NamesEachUnitAsItsListEntryDoes) {
  const char* const expected[kMoistureUnitCount] = {"mB",
                                                    "°C",
                                                    "°F",
                                                    "°C",
                                                    "°F",
                                                    "PPMv",
                                                    "PPMw(mol/mol)",
                                                    "lbs H2O per Million Feet³",
                                                    "grams H2O per meter³",
                                                    "%RH",
                                                    "PPMw(µg/g)"};
  for (int unit = 0; unit < kMoistureUnitCount; ++unit) {
    EXPECT_EQ(SpreadUnitText(static_cast<MoistureUnit>(unit)), expected[unit]) << unit;
  }
}

}  // namespace
}  // namespace tavimor
