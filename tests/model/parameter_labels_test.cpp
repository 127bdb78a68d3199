#include "model/parameter_labels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/unit_tables.h"

namespace tavimor {
namespace {

TEST(LabelSuffixes, ReadAsTheDialogsWriteThem) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"table gas", GasLabelSuffix(0, 26), " in Acetylene MW=26"},
      {"other gas with 18", GasLabelSuffix(OtherGasIndex, 18), " in some gas with MW= 18.0"},
      {"custom liquid", CustomLiquidLabelSuffix(3.5f), " in Unknown Liquid K=  3.5"},
      {"ambient in Celsius", AmbientLabelSuffix(25, false), " at dry bulb temperature of  25.0°C"},
      {"ambient in Fahrenheit has no blank", AmbientLabelSuffix(20, true),
       " at dry bulb temperature of 68.0°F"},
      {"air at 25 °C", MediumLabelSuffix(DensityMedium::AirMixture, 25, false),
       " of Air/H2O-vapor mixture @  25.0°C"},
      {"natural gas at 15.6 °C", MediumLabelSuffix(DensityMedium::NaturalGas, 15.6f, false),
       " Natural Gas/H2O-vapor mix. @  15.6°C"},
      {"natural gas at 60 °F",
       MediumLabelSuffix(DensityMedium::NaturalGas, CelsiusFromFahrenheit(60), true),
       " Natural Gas/H2O-vapor mix. @  60.0°F"},
      {"a weight in exponent form stays short", GasLabelSuffix(OtherGasIndex, 1e30f),
       " in some gas with MW=1.e+030"},
      {"the largest float K", CustomLiquidLabelSuffix(3.4028235e38f),
       " in Unknown Liquid K=3.402823e+038"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.text, c.expected);
    EXPECT_LE(c.text.size(), kLabelSuffixMaxBytes);
  }
}

TEST(TemperatureConversions, FahrenheitRoundTripsThroughSinglePrecision) {
  EXPECT_EQ(CelsiusFromFahrenheit(68), 20.0f);
  EXPECT_EQ(FahrenheitFromCelsius(20), 68.0f);
  EXPECT_FLOAT_EQ(CelsiusFromFahrenheit(60), 15.555556f);
}

TEST(AcceptedValues, TemperatureStrictlyBetweenMinus80And200) {
  EXPECT_TRUE(IsAcceptedTemperatureC(199.9f));
  EXPECT_FALSE(IsAcceptedTemperatureC(200));
  EXPECT_TRUE(IsAcceptedTemperatureC(-79.9f));
  EXPECT_FALSE(IsAcceptedTemperatureC(-80));
  EXPECT_FALSE(IsAcceptedTemperatureC(CelsiusFromFahrenheit(392)));
  EXPECT_FALSE(IsAcceptedTemperatureC(CelsiusFromFahrenheit(-112)));
  EXPECT_FALSE(IsAcceptedTemperatureC(NAN));
  EXPECT_TRUE(IsAcceptedPositive(18));
  EXPECT_FALSE(IsAcceptedPositive(0));
  EXPECT_FALSE(IsAcceptedPositive(INFINITY));
}

TEST(EntryTextWithChoice, CutsAtTheBar) {
  EXPECT_EQ(EntryTextWithChoice(kMoistureUnits[6].ComboText, " in Acetylene MW=26"),
            "PPMw(mol/mol)  -  parts per million by weight  in Acetylene MW=26");
  EXPECT_EQ(EntryTextWithChoice("no bar", "+x"), "no bar+x");
}

}  // namespace
}  // namespace tavimor
