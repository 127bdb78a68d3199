#include "model/parameter_dialogs.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/fahrenheit.h"

namespace tavimor {
namespace {

// The OK of each parameter dialog as the page runs it (the desktop's dialogs run the same
// steps from their widgets): what the controls hold in, the answer or a refusal out.
TEST(ParameterDialogOk, AcceptsAndRefusesAsTheDialogs) {
  constexpr int kCelsius = static_cast<int>(AmbientTempUnit::AmbientCelsius);
  constexpr int kFahrenheit = static_cast<int>(AmbientTempUnit::AmbientFahrenheit);
  constexpr int kVaporF = static_cast<int>(VaporTempUnit::VaporFahrenheit);
  constexpr int kVaporC = static_cast<int>(VaporTempUnit::VaporCelsius);
  constexpr int kAir = static_cast<int>(DensityMedium::AirMixture);
  constexpr int kNaturalGas = static_cast<int>(DensityMedium::NaturalGas);
  struct Case {
    const char* name;
    MoistureUnit unit;
    ParameterDialogControls controls;
    bool accepted;
    float number;  // the value the answer holds: weight, K or temperature in °C
    std::string suffix;
  };
  const Case cases[] = {
      {"other gas typed",
       MoistureUnit::PpmwGas,
       {OtherGasIndex, 0, 18},
       true,
       18,
       " in some gas with MW= 18.0"},
      {"other gas of weight 0", MoistureUnit::PpmwGas, {OtherGasIndex, 0, 0}, false, 0, ""},
      {"a table gas ignores the field",
       MoistureUnit::PpmwGas,
       {3, 0, 0},
       true,
       40,
       " in Argon MW=40"},
      {"no row of the gas list", MoistureUnit::PpmwGas, {kGasCount, 0, 18}, false, 0, ""},
      {"custom liquid typed",
       MoistureUnit::PpmwLiquid,
       {1019, 0, 2.25f},
       true,
       2.25f,
       " in Unknown Liquid K=  2.2"},
      {"custom K of 0", MoistureUnit::PpmwLiquid, {1019, 0, 0}, false, 0, ""},
      {"a table liquid ignores the field",
       MoistureUnit::PpmwLiquid,
       {1030, 0, 7},
       true,
       15.5f,
       " in Benzene K=15.5"},
      {"no liquid button", MoistureUnit::PpmwLiquid, {7, 0, 2}, false, 0, ""},
      {"ambient in Fahrenheit",
       MoistureUnit::RelHumidity,
       {0, kFahrenheit, 68},
       true,
       20,
       " at dry bulb temperature of 68.0°F"},
      {"ambient of 200 °C", MoistureUnit::RelHumidity, {0, kCelsius, 200}, false, 0, ""},
      {"ambient without a unit keeps its temperature and suffix",
       MoistureUnit::RelHumidity,
       {0, 0, 150},
       true,
       20,
       "opened"},
      {"air at 25 °C",
       MoistureUnit::GramsPerM3,
       {kAir, kVaporC, 25},
       true,
       25,
       " of Air/H2O-vapor mixture @  25.0°C"},
      {"natural gas at 60 °F",
       MoistureUnit::GramsPerM3,
       {kNaturalGas, kVaporF, 60},
       true,
       CelsiusFromFahrenheit(60),
       " Natural Gas/H2O-vapor mix. @  60.0°F"},
      {"air at 392 °F", MoistureUnit::GramsPerM3, {kAir, kVaporF, 392}, false, 0, ""},
      {"no medium button", MoistureUnit::GramsPerM3, {7, kVaporC, 25}, false, 0, ""},
      {"a unit without a dialog", MoistureUnit::Ppmv, {0, 0, 1}, false, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParameterDialogRequest request;
    request.Unit = c.unit;
    request.LabelSuffix = "opened";
    request.Params.GasIndex = 99;  // as a hand-edited file may leave it: the dialog's default
    const std::optional<ParameterDialogAnswer> answer = ParameterDialogOk(request, c.controls);
    ASSERT_EQ(answer.has_value(), c.accepted);
    if (!answer) continue;
    const SideParams& p = answer->Params;
    const float number = c.unit == MoistureUnit::PpmwGas       ? p.MolWeight
                         : c.unit == MoistureUnit::PpmwLiquid  ? p.HenryK
                         : c.unit == MoistureUnit::RelHumidity ? p.AmbientTempC
                                                               : p.VaporTempC;
    EXPECT_EQ(number, c.number);
    EXPECT_EQ(answer->LabelSuffix, c.suffix);
  }
}

}  // namespace
}  // namespace tavimor
