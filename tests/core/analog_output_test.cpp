#include <gtest/gtest.h>

#include <cmath>

#include "core/analog_output.h"

namespace tavimor {
namespace {

AnalogReading Current(double milliamps, double low = -100, double high = 20) {
  return AnalogReading{milliamps, low, high, DetectMode::Current, 250};
}

AnalogReading Voltage(double volts, double resistorOhm = 250) {
  return AnalogReading{volts, -100, 20, DetectMode::Voltage, resistorOhm};
}

// Expected texts: the analog panel's defining worked examples.
TEST(AnalogResult, MatchesThePanelExamples) {
  struct Case {
    const char* name;
    AnalogReading reading;
    const char* text;
  };
  const Case cases[] = {
      {"mid scale", Current(12), "-40.0"},
      {"4 mA is the low value", Current(4), "-100.0"},
      {"20 mA is the high value", Current(20), "20.0"},
      {"below 4 mA", Current(3.99), "Error"},
      {"above 20 mA", Current(20.01), "Error"},
      {"empty reading", Current(0), "Error"},
      // (12.3f - 4) is 8.3000002, so the double result -37.7499986 shows as -37.7.
      {"single-precision reading", Current(12.3), "-37.7"},
      {"3 V across 250 ohm is 12 mA", Voltage(3), "-40.0"},
      {"1 V is 4 mA", Voltage(1), "-100.0"},
      {"5 V is 20 mA", Voltage(5), "20.0"},
      {"0.999 V is below 4 mA", Voltage(0.999), "Error"},
      {"falling scale mid", Current(12, 20, -100), "-40.0"},
      {"falling scale quarter", Current(8, 20, -100), "-10.0"},
      {"no resistor and no reading", Voltage(0, 0), "Error"},
      {"no resistor", Voltage(1, 0), "Error"},
      {"negative resistor", Voltage(1, -250), "Error"},
      {"range beyond single precision", Current(12, -1e39, 1e39), "Error"},
      {"reading beyond single precision", Voltage(1e300), "Error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AnalogResultText(c.reading), c.text);
  }
}

TEST(AnalogLoopCurrent, HoldsEachStepInSinglePrecision) {
  EXPECT_EQ(AnalogLoopCurrentMa(Current(12.3)), 12.3f);
  // (0.999f * 1000 held in single) / 250, held in single.
  EXPECT_EQ(
      AnalogLoopCurrentMa(Voltage(0.999)),
      static_cast<float>(
          static_cast<double>(static_cast<float>(static_cast<double>(0.999f) * 1000.0)) / 250.0));
  EXPECT_TRUE(std::isnan(AnalogLoopCurrentMa(Voltage(0, 0))));
}

TEST(AnalogVoltageRange, ShowsTheVoltagesOfFourAndTwentyMilliamps) {
  struct Case {
    double resistorOhm;
    const char* text;
  };
  const Case cases[] = {
      {250, "Volts\n(1.000V to 5.000V)"},
      {500, "Volts\n(2.000V to 10.000V)"},
      {0, "Volts\n(0.000V to 0.000V)"},
      // R x 4 overflows; the label still reads, as C's printf would write it.
      {1e308, "Volts\n(infV to infV)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resistorOhm);
    EXPECT_EQ(AnalogVoltageRangeText(c.resistorOhm), c.text);
  }
}

}  // namespace
}  // namespace tavimor
