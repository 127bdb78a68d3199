#include <gtest/gtest.h>

#include <cmath>

#include "core/number_text.h"
#include "core/temperature_convert.h"

namespace tavimor {
namespace {

constexpr int C = static_cast<int>(TemperatureUnit::Celsius);
constexpr int F = static_cast<int>(TemperatureUnit::Fahrenheit);
constexpr int K = static_cast<int>(TemperatureUnit::Kelvin);
constexpr int R = static_cast<int>(TemperatureUnit::Rankine);

std::string Shown(float value) {
  return FormatSignificant(static_cast<double>(value), 7);
}

// Expected texts: the temperature panel's defining worked examples.
TEST(TemperatureResult, MatchesThePanelExamples) {
  struct Case {
    const char* name;
    double value;
    int from;
    int to;
    const char* text;
    bool sentence;
  };
  const Case cases[] = {
      // An empty From field reads as 0 °F.
      {"empty field as 0 F", 0, F, C, "-17.78", false},
      // 100 / 0.55555 + 32 = 212.0018, rounded to 0.01.
      {"boiling water", 100, C, F, "212.", false},
      {"room temperature in kelvin", 20, C, K, "293.15", false},
      {"melting ice in kelvin", 273.15, K, C, "0.", false},
      {"absolute zero", 0, K, C, "-273.15", false},
      {"where the scales meet", -40, C, F, "-40.", false},
      {"451 F to Celsius", 451, F, C, "232.78", true},
      {"451 F to Fahrenheit", 451, F, F, "451.", true},
      // (451 + 459.67) x 0.55555 = 505.9227.
      {"451 F to Kelvin", 451, F, K, "505.92", true},
      {"451 F to Rankine", 451, F, R, "910.67", true},
      // 232.775 / 0.55555 + 32 = 450.9992, which rounds to 451.00.
      {"result rounding to 451 F", 232.775, C, F, "451.", true},
      {"result just above 451 F", 232.78, C, F, "451.01", false},
      // F is 451 only up to the factor's error; the result is not in Fahrenheit.
      {"232.78 C to Kelvin", 232.78, C, K, "505.93", false},
      {"Rankine through Fahrenheit", 910.67, R, F, "451.", true},
      {"451 Rankine is not 451 F", 451, R, F, "-8.67", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TemperatureResult r = ComputeTemperatureResult(c.value, c.from, c.to);
    EXPECT_EQ(Shown(r.Value), c.text);
    EXPECT_EQ(r.ShowSentence, c.sentence);
  }
}

TEST(TemperatureResult, UsesTheFiveFiveFactorNotFiveNinths) {
  // 100 C through 0.55555 is 212.0018 F, through 5/9 exactly 212; 1000 C shows the difference.
  EXPECT_EQ(Shown(ComputeTemperatureResult(1000, C, F).Value), "1832.02");
}

TEST(TemperatureResult, IsHeldInSinglePrecision) {
  const TemperatureResult r = ComputeTemperatureResult(123456.78, F, F);
  EXPECT_EQ(r.Value, 123456.78f);
}

TEST(TemperatureResult, ReportsUnknownUnitsAsNotANumber) {
  EXPECT_TRUE(std::isnan(ComputeTemperatureResult(1, -1, C).Value));
  EXPECT_TRUE(std::isnan(ComputeTemperatureResult(1, C, 4).Value));
  EXPECT_FALSE(ComputeTemperatureResult(451, F, 7).ShowSentence);
}

TEST(TemperatureResult, SurvivesInfiniteInput) {
  const TemperatureResult r = ComputeTemperatureResult(INFINITY, C, K);
  EXPECT_TRUE(std::isinf(r.Value));
  EXPECT_FALSE(r.ShowSentence);
}

TEST(ReexpressTemperature, RoundsToHundredthsInDouble) {
  struct Case {
    const char* name;
    double value;
    int from;
    int to;
    double expected;
  };
  const Case cases[] = {
      {"20 C to Kelvin", 20, C, K, 293.15},
      {"-40 C to Fahrenheit keeps the number", -40, C, F, -40},
      {"empty field from Fahrenheit to Celsius", 0, F, C, -17.78},
      // 293.15 / 0.55555 = 527.6753: the factor shows at the second decimal.
      {"Kelvin to Rankine", 293.15, K, R, 527.68},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(ReexpressTemperature(c.value, c.from, c.to), c.expected, 1e-9);
  }
  EXPECT_TRUE(std::isnan(ReexpressTemperature(1, C, 9)));
}

}  // namespace
}  // namespace tavimor
