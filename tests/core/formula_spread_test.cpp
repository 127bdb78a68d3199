#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "core/dew_point.h"
#include "core/formula_spread.h"
#include "core/moisture_format.h"

namespace tavimor {
namespace {

// Each of the 12 results is the panel's result under that combination, bit for bit; Min and
// Max are taken over the results that answer. Expected texts of the first row are the
// example of the spread's introduction: a frost point of -80 °C at 20 bar is 0.0266 ppmv under
// one choice (Magnus, no factor) and 0.0323 under another (Hyland and Wexler, Greenspan).
TEST(FormulaSpread, GivesThePanelsResultUnderEachCombination) {
  using U = MoistureUnit;
  struct Case {
    const char* name;
    U from;
    U to;
    float value;
    float measuredMbar;
    float computeMbar;
    GasMethod method;
    DensityMedium toMedium;
    bool allEqual;        // the choice cannot matter here
    const char* minText;  // nullptr: not checked
    const char* maxText;
    std::size_t minIndex;  // checked with the texts
    std::size_t maxIndex;
  };
  const DensityMedium gas = DensityMedium::NaturalGas;
  const DensityMedium air = DensityMedium::AirMixture;
  const Case cases[] = {
      {"frost point to ppmv at 20 bar", U::DewFrostPointC, U::Ppmv, -80, 20000, 20000,
       GasMethod::IgtBulletin8, gas, false, "0.02661", "0.03232", 9, 4},
      {"ppmv to frost point, searched, at 20 bar", U::Ppmv, U::DewFrostPointC, 50, 20000, 20000,
       GasMethod::IgtBulletin8, gas, false, nullptr, nullptr, 0, 0},
      {"ppmv to dew point over supercooled water, into 5 bar", U::Ppmv, U::DewPointC, 300, 1013.25f,
       5000, GasMethod::IgtBulletin8, gas, false, nullptr, nullptr, 0, 0},
      {"dew point to relative humidity", U::DewPointC, U::RelHumidity, 10, 1013.25f, 1013.25f,
       GasMethod::IgtBulletin8, gas, false, nullptr, nullptr, 0, 0},
      {"vapour density in air", U::DewFrostPointC, U::GramsPerM3, -20, 3000, 3000,
       GasMethod::IgtBulletin8, air, false, nullptr, nullptr, 0, 0},
      {"lb/MMSCF under ASTM: the natural-gas override", U::LbsPerMmscf, U::DewFrostPointC, 7, 30000,
       30000, GasMethod::Astm, gas, true, nullptr, nullptr, 0, 0},
      {"vapour density in natural gas: the override", U::DewPointC, U::GramsPerM3, 5, 1013.25f,
       1013.25f, GasMethod::IgtBulletin8, gas, true, nullptr, nullptr, 0, 0},
      {"pressure-only units", U::PartialPressure, U::Ppmv, 10, 1013.25f, 2000,
       GasMethod::IgtBulletin8, gas, true, "9967.6", "9967.6", 0, 0},
      {"no combination answers: above the dew-point search", U::DewPointC, U::DewPointC, 70,
       1013.25f, 1013.25f, GasMethod::IgtBulletin8, gas, true, nullptr, nullptr, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MoistureInputs inputs;
    inputs.FromValue = c.value;
    inputs.Increment = 1;  // the spread is of the result, not of the incremented value
    inputs.FromUnit = inputs.FromListSelection = static_cast<int>(c.from);
    inputs.ToListSelection = static_cast<int>(c.to);
    inputs.MeasuredPressure = c.measuredMbar;
    inputs.ComputePressure = c.computeMbar;
    CalcSettings settings;
    settings.GasMethod = c.method;
    settings.From.DensityMedium = settings.To.DensityMedium = c.toMedium;

    const MoistureSpread spread = ComputeMoistureSpread(inputs, settings);
    bool anyAnswer = false;
    bool allEqual = true;
    for (std::size_t i = 0; i < kPhysicsCombinationCount; ++i) {
      CalcSettings combination = settings;
      combination.SwvpFormula = kPhysicsCombinations[i].SwvpFormula;
      combination.EnhancementFactor = kPhysicsCombinations[i].EnhancementFactor;
      const MoistureResults panel = ComputeMoistureResults(inputs, combination);
      const float expected = panel.ResultValid ? panel.Result : static_cast<float>(OutOfRange);
      EXPECT_EQ(std::bit_cast<uint32_t>(spread.Results[i]), std::bit_cast<uint32_t>(expected))
          << "combination " << i;
      if (panel.ResultValid) {
        EXPECT_LE(spread.Min, panel.Result);
        EXPECT_GE(spread.Max, panel.Result);
        anyAnswer = true;
      }
      allEqual = allEqual && spread.Results[i] == spread.Results[0];
    }
    EXPECT_EQ(allEqual, c.allEqual);
    ASSERT_EQ(spread.Valid, anyAnswer);
    if (!anyAnswer) continue;
    EXPECT_EQ(spread.Results[spread.MinIndex], spread.Min);
    EXPECT_EQ(spread.Results[spread.MaxIndex], spread.Max);
    if (c.minText != nullptr) {
      EXPECT_EQ(FormatMoistureValue(c.to, spread.Min), c.minText);
      EXPECT_EQ(FormatMoistureValue(c.to, spread.Max), c.maxText);
      EXPECT_EQ(spread.MinIndex, c.minIndex);
      EXPECT_EQ(spread.MaxIndex, c.maxIndex);
    }
  }
}

}  // namespace
}  // namespace tavimor
