#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/formula_accuracy.h"
#include "core/saturation_reference_table.h"

namespace tavimor {
namespace {

// The formulas against values they were not derived from: IAPWS-95 and Murphy and Koop (2005)
// over liquid water, the IAPWS 2011 sublimation equation over ice (saturation_reference.csv).
// Each formula is checked only in the range its source states for it, cut to the reference
// table (water -40..100 °C, ice -100..0 °C), band by band. The sources' numerical accuracy
// claims could not be consulted here, so the bounds are the deviations observed with the
// coefficients as written, widened outward to the next 1e-7 percentage point: the formula's
// error curve against the reference may not move, so a mistyped coefficient that moves its
// extremes in a band by more than about 2e-9 of the value fails.
TEST(SaturationFormulaAccuracy, StaysInItsObservedDeviationBandsInItsSourcesRange) {
  using F = SwvpFormula;
  const ReferencePhase ice = ReferencePhase::Ice;
  const ReferencePhase water = ReferencePhase::Water;
  struct Case {
    const char* source;  // and the range it states
    SwvpFormula formula;
    ReferencePhase phase;
    double lowC;
    double highC;
    double lowestPercent;
    double highestPercent;
  };
  const Case cases[] = {
      // Goff and Gratch (1946), stated from -160 to 212 °F; over water used down to -50 °C.
      // The program takes T = t + 273.15 where the equations meant t + 273.16, which alone
      // lowers the water values by 0.04 to 0.07 %.
      {"Goff-Gratch 1946, ice", F::GoffGratch, ice, -100, -50, -0.3203672, -0.1984609},
      {"Goff-Gratch 1946, ice", F::GoffGratch, ice, -50, 0, -0.1984610, -0.1337430},
      {"Goff-Gratch 1946, supercooled water", F::GoffGratch, water, -40, 0, -0.2041752, -0.0938706},
      {"Goff-Gratch 1946, water", F::GoffGratch, water, 0, 50, -0.1506947, -0.1433617},
      {"Goff-Gratch 1946, water", F::GoffGratch, water, 50, 100, -0.1502121, -0.1277471},
      // Hyland and Wexler (1983): ice 173.15 to 273.15 K, water 273.15 to 473.15 K; no
      // supercooled water (the program's water operation uses the ice equation below 0 °C).
      {"Hyland-Wexler 1983, ice", F::HylandWexler, ice, -100, -50, 0.0155098, 0.0324965},
      {"Hyland-Wexler 1983, ice", F::HylandWexler, ice, -50, 0, 0.0011812, 0.0326186},
      {"Hyland-Wexler 1983, water", F::HylandWexler, water, 0, 50, -0.0224906, 0.0000257},
      {"Hyland-Wexler 1983, water", F::HylandWexler, water, 50, 100, -0.0169175, 0.0007080},
      // Sonntag (1990): water -100 to +100 °C, ice -100 to 0.01 °C.
      {"Sonntag 1990, ice", F::Sonntag, ice, -100, -50, -0.1978010, -0.0485714},
      {"Sonntag 1990, ice", F::Sonntag, ice, -50, 0, -0.0485715, 0.0097136},
      {"Sonntag 1990, supercooled water", F::Sonntag, water, -40, 0, 0.0000232, 0.6371690},
      {"Sonntag 1990, water", F::Sonntag, water, 0, 50, -0.0053364, 0.0064558},
      {"Sonntag 1990, water", F::Sonntag, water, 50, 100, 0.0004658, 0.0065533},
      // Magnus as parametrised by Sonntag (1990) and the WMO guide (WMO-No. 8, annex 4.B):
      // water -45 to 60 °C; ice -65 to 0 °C, there with 272.2 in place of the published
      // 272.62, which alone moves the ice values down by up to 1.4 % at -65 °C.
      {"Magnus (Sonntag 1990), ice", F::Magnus, ice, -65, 0, -1.6072280, 0.0076127},
      {"Magnus (Sonntag 1990), supercooled", F::Magnus, water, -40, 0, -0.0020775, 0.5766229},
      {"Magnus (Sonntag 1990), water", F::Magnus, water, 0, 60, -0.3146601, 0.2348950},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " " + std::to_string(c.lowC) + ".." +
                 std::to_string(c.highC));
    const DeviationRange d = SaturationDeviations(c.formula, c.phase, c.lowC, c.highC);
    EXPECT_GE(100 * d.Lowest, c.lowestPercent);
    EXPECT_LE(100 * d.Highest, c.highestPercent);
    // Tight from inside too: a change that pulls an extreme inward fails as well.
    EXPECT_LT(100 * d.Lowest, c.lowestPercent + 2e-7);
    EXPECT_GT(100 * d.Highest, c.highestPercent - 2e-7);
  }
}

// The enhancement factors against the factors of saturated air from the IAPWS 2010 humid-air
// guideline at 1013.25, 5000, 10000 and 20000 mbar; bounds observed as above. Greenspan
// (1976) fitted Hyland's (1975) factors, which below -50 °C are extrapolations; Bögel (1977)
// is a simpler approximation, both of them far from the reference at -80 °C and 20 bar.
TEST(EnhancementFactorAccuracy, StaysInItsObservedDeviationBands) {
  struct Case {
    EnhancementFactor factor;
    double lowC;
    double highC;
    double lowestPercent;
    double highestPercent;
  };
  const Case cases[] = {
      {EnhancementFactor::Greenspan, -80, -10, -2.3292219, -0.0346629},
      {EnhancementFactor::Greenspan, 10, 50, -0.2290607, -0.0180261},
      {EnhancementFactor::Greenspan, 50, 90, -0.0984755, 0.0017342},
      {EnhancementFactor::Bogel, -80, -10, -3.9048004, 0.1674078},
      {EnhancementFactor::Bogel, 10, 50, 0.0196510, 0.6652612},
      {EnhancementFactor::Bogel, 50, 90, 0.0159003, 0.6760520},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.factor)) + " " + std::to_string(c.lowC));
    const DeviationRange d = EnhancementDeviations(c.factor, c.lowC, c.highC);
    EXPECT_GE(100 * d.Lowest, c.lowestPercent);
    EXPECT_LE(100 * d.Highest, c.highestPercent);
    EXPECT_LT(100 * d.Lowest, c.lowestPercent + 2e-7);
    EXPECT_GT(100 * d.Highest, c.highestPercent - 2e-7);
  }
}

// The compiled table and the CSV with the sources are written together by the script; an
// edit of one alone would judge the formulas by numbers nobody can trace.
TEST(SaturationReferenceTable, HoldsExactlyTheNumbersOfTheCsv) {
  namespace ref = saturation_reference;
  std::ifstream csv(TAVIMOR_REFERENCE_CSV);
  ASSERT_TRUE(csv) << TAVIMOR_REFERENCE_CSV;
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(csv, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    ASSERT_EQ(fields.size(), 5u) << line;
    rows.push_back(fields);
  }
  const auto number = [](const std::string& text) { return std::strtod(text.c_str(), nullptr); };
  std::size_t i = 0;
  const auto expectPressureRows = [&](const char* kind, const auto& table) {
    for (const ref::PressureRow& row : table) {
      ASSERT_LT(i, rows.size());
      EXPECT_EQ(rows[i][0], kind);
      EXPECT_EQ(number(rows[i][1]), row.TempC);
      EXPECT_EQ(number(rows[i][3]), row.PressureMbar) << kind << " " << row.TempC;
      ++i;
    }
  };
  expectPressureRows("water", ref::kWater);
  expectPressureRows("ice", ref::kIce);
  for (const ref::EnhancementRow& row : ref::kEnhancement) {
    ASSERT_LT(i, rows.size());
    EXPECT_EQ(rows[i][0], "enhancement");
    EXPECT_EQ(number(rows[i][1]), row.TempC);
    EXPECT_EQ(number(rows[i][2]), row.PressureMbar);
    EXPECT_EQ(number(rows[i][3]), row.Factor) << row.TempC << " " << row.PressureMbar;
    ++i;
  }
  EXPECT_EQ(i, rows.size());
}

}  // namespace
}  // namespace tavimor
