#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tavimor {

// Every choice is held as the identifier of the option button that selects it; these
// numbers are also what the saved selections store. A hand-edited file can put any number
// of the underlying width into them, so code must not assume a listed member.
enum class SwvpFormula : int32_t {
  GoffGratch = 1020,
  HylandWexler = 1021,
  Sonntag = 1022,
  Magnus = 1023
};
enum class EnhancementFactor : int32_t { NoEnhancement = 1024, Greenspan = 1025, Bogel = 1026 };
enum class GasMethod : int16_t { IgtBulletin8 = 1025, Astm = 1026 };
enum class LiquidChoice : int16_t {
  Hexane = 1028,             // K 1.9
  Hexene = 1029,             // K 6.2
  Benzene = 1030,            // K 15.5
  TransformerOil = 1031,     // K 1.7
  HexaneBenzene5050 = 1018,  // K 8.6
  CustomLiquid = 1019,       // K typed by the user
};
enum class AmbientTempUnit : int16_t { AmbientCelsius = 1033, AmbientFahrenheit = 1034 };
enum class DensityMedium : int16_t { PureVapor = 1036, AirMixture = 1037, NaturalGas = 1038 };
enum class VaporTempUnit : int16_t { VaporCelsius = 1039, VaporFahrenheit = 1040 };

// One choice of an option, in the order the front ends list them: the identifier of the
// button that chooses it, the name tavimor-convert and the Python package give it, the text
// of its button, and the title the accuracy report shows (empty where none does). To add a
// formula, factor, method or medium, add its member and its row.
template <class T>
struct ChoiceRow {
  T Value;
  std::string_view Name;
  std::string_view ButtonText;
  std::string_view Title;
};
inline constexpr int kSwvpFormulaCount = 4;
inline constexpr int kEnhancementFactorCount = 3;
inline constexpr int kGasMethodCount = 2;
inline constexpr int kDensityMediumCount = 3;
extern const std::array<ChoiceRow<SwvpFormula>, kSwvpFormulaCount> kSwvpFormulaChoices;
extern const std::array<ChoiceRow<EnhancementFactor>, kEnhancementFactorCount>
    kEnhancementFactorChoices;
extern const std::array<ChoiceRow<GasMethod>, kGasMethodCount> kGasMethodChoices;
extern const std::array<ChoiceRow<DensityMedium>, kDensityMediumCount> kDensityMediumChoices;

// The row of a choice; the first row for a value no row holds (a hand-edited file's).
template <class T, std::size_t N>
constexpr const ChoiceRow<T>& ChoiceRowOf(const std::array<ChoiceRow<T>, N>& choices, T value) {
  for (const ChoiceRow<T>& row : choices) {
    if (row.Value == value) return row;
  }
  return choices[0];
}

// Parameters of one side (From or To) of a conversion. Temperatures are always degrees
// Celsius; the unit fields only say how a dialog shows and reads them.
struct SideParams {
  int16_t GasIndex = 1;  // row of GasTable; 1 is air
  float MolWeight = 29;  // g/mol of the carrier gas
  tavimor::LiquidChoice Liquid = tavimor::LiquidChoice::Hexane;
  float HenryK = 1.9f;  // ppm per mbar of partial water vapour pressure
  tavimor::AmbientTempUnit AmbientTempUnit = tavimor::AmbientTempUnit::AmbientCelsius;
  float AmbientTempC = 20;  // dry bulb for relative humidity
  tavimor::DensityMedium DensityMedium = tavimor::DensityMedium::NaturalGas;
  tavimor::VaporTempUnit VaporTempUnit = tavimor::VaporTempUnit::VaporCelsius;
  float VaporTempC = 20;  // vapour temperature for vapour density
};

// The From-side parameters under which the number in the From field was entered.
struct BasisParams {
  float MolWeight = 29;
  float HenryK = 1.9f;
  float AmbientTempC = 20;
  float VaporTempC = 20;
  tavimor::DensityMedium DensityMedium = tavimor::DensityMedium::NaturalGas;
};

struct CalcSettings {
  tavimor::SwvpFormula SwvpFormula = tavimor::SwvpFormula::GoffGratch;
  tavimor::EnhancementFactor EnhancementFactor = tavimor::EnhancementFactor::NoEnhancement;
  tavimor::GasMethod GasMethod = tavimor::GasMethod::IgtBulletin8;
  SideParams From;
  SideParams To;
};

BasisParams BasisOf(const SideParams& side);

// An accepted dialog temperature lies strictly between -80 and 200 °C (the formulas' range).
bool IsAcceptedTemperatureC(float tempC);

// An accepted molecular weight or Henry's constant is a finite number above 0 (below would
// divide by zero).
bool IsAcceptedPositive(float value);

// A side parameter typed into its dialog, as a number held in single precision.
enum class TypedParam { MolWeight, HenryK, AmbientTempC, VaporTempC };

// Sets the parameter as its dialog does: a typed molecular weight selects the last gas row
// ("other"), a typed constant the custom liquid, and a temperature is shown in °C. A value
// the dialogs would not accept returns false and leaves side unchanged.
bool SetTypedParam(SideParams& side, TypedParam param, float value);

// The five per-unit parameters the conversion hub takes, widened to double.
struct UnitParams {
  double AmbientTempC = 20;
  double MolWeight = 29;
  double HenryK = 1.9;
  double VaporTempC = 20;
  tavimor::DensityMedium DensityMedium = tavimor::DensityMedium::NaturalGas;
};

UnitParams UnitParamsOf(const SideParams& side);
UnitParams UnitParamsOf(const BasisParams& basis);

}  // namespace tavimor
