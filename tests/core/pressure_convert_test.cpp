#include <gtest/gtest.h>

#include <cmath>

#include "core/number_text.h"
#include "core/pressure_convert.h"
#include "core/unit_tables.h"

namespace tavimor {
namespace {

constexpr int Mbar = static_cast<int>(PressureUnit::Mbar);
constexpr int Psia = static_cast<int>(PressureUnit::Psia);
constexpr int Psig = static_cast<int>(PressureUnit::Psig);
constexpr int Atm = static_cast<int>(PressureUnit::Atm);
constexpr int Kpa = static_cast<int>(PressureUnit::Kpa);

// Expected texts: the pressure panel's defining worked examples.
TEST(PressureConversion, MatchesThePanelExamples) {
  struct Case {
    const char* name;
    double value;
    int from;
    int to;
    const char* text;
  };
  const Case cases[] = {
      {"empty field as 0 PSIA", 0, Psia, Mbar, "0."},
      // 14.7 / 0.0145038 = 1013.5275, rounded half up to 0.01 mbar.
      {"14.7 PSIA", 14.7, Psia, Mbar, "1013.53"},
      {"gauge zero is one atmosphere", 0, Psig, Mbar, "1013.25"},
      {"vacuum in gauge units", 0, Mbar, Psig, "-14.696"},
      {"one atmosphere absolute", 1, Atm, Psia, "14.696"},
      {"one atmosphere gauge", 1, Atm, Psig, "0."},
      {"100 kPa", 100, Kpa, Atm, "0.987"},
      // 0.00098692 rounds to 0.001; below 0.1 the text takes the exponent form.
      {"one millibar in atmospheres", 1, Mbar, Atm, "1.e-003"},
      {"same unit", 1013.25, Mbar, Mbar, "1013.25"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatSignificant(ConvertPressureValue(c.value, c.from, c.to), 7), c.text);
  }
}

TEST(PressureConversion, RoundsTheMillibarStepBeforeTheTarget) {
  // 0.004 mbar rounds to 0.00 mbar first, so nothing of it reaches the target unit.
  EXPECT_EQ(ConvertPressureValue(0.004, Mbar, Kpa), 0.0);
  // 0.005 mbar rounds half up to 0.01 mbar, which is 0.001 kPa.
  EXPECT_NEAR(ConvertPressureValue(0.005, Mbar, Kpa), 0.001, 1e-12);
}

TEST(PressureConversion, ReportsUnknownUnitsAsNotANumber) {
  EXPECT_TRUE(std::isnan(ConvertPressureValue(1, -1, Mbar)));
  EXPECT_TRUE(std::isnan(ConvertPressureValue(1, Mbar, kPressureUnitCount)));
}

}  // namespace
}  // namespace tavimor
