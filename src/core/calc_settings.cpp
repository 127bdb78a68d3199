#include "core/calc_settings.h"

#include <cmath>

#include "core/complete_table.h"
#include "core/unit_tables.h"

namespace tavimor {

constexpr std::array<ChoiceRow<SwvpFormula>, kSwvpFormulaCount> kSwvpFormulaChoices =
    CompleteTable<ChoiceRow<SwvpFormula>, kSwvpFormulaCount>({
        {SwvpFormula::GoffGratch, "goff-gratch",
         "Goff-Gratch equations\nintegration of Clausius-Clapeyron\ndeviating from perfect gas",
         "Goff-Gratch"},
        {SwvpFormula::HylandWexler, "hyland-wexler", "Hyland and Wexler (1983b)",
         "Hyland and Wexler"},
        {SwvpFormula::Sonntag, "sonntag", "Sonntag", "Sonntag"},
        {SwvpFormula::Magnus, "magnus", "Magnus", "Magnus"},
    });

constexpr std::array<ChoiceRow<EnhancementFactor>, kEnhancementFactorCount>
    kEnhancementFactorChoices =
        CompleteTable<ChoiceRow<EnhancementFactor>, kEnhancementFactorCount>({
            {EnhancementFactor::NoEnhancement, "none", "No\nwater vapor enhancement factor",
             "none"},
            {EnhancementFactor::Greenspan, "greenspan", "Greenspan\nwater vapor enhancement factor",
             "Greenspan"},
            {EnhancementFactor::Bogel, "bogel", "Bogel\nwater vapor enhancement factor", "Bögel"},
        });

constexpr std::array<ChoiceRow<GasMethod>, kGasMethodCount> kGasMethodChoices =
    CompleteTable<ChoiceRow<GasMethod>, kGasMethodCount>({
        {GasMethod::IgtBulletin8, "igt", "IGT Bulletin 8", ""},
        {GasMethod::Astm, "astm", "ASTM", ""},
    });

constexpr std::array<ChoiceRow<DensityMedium>, kDensityMediumCount> kDensityMediumChoices =
    CompleteTable<ChoiceRow<DensityMedium>, kDensityMediumCount>({
        {DensityMedium::NaturalGas, "natural-gas",
         "Natural Gas at STP\nChoose method in preference menu ", ""},
        {DensityMedium::AirMixture, "air", "Air", ""},
        {DensityMedium::PureVapor, "vapor",
         "pure Water Vapor (no other gas)\nonly above 10°C frost point", ""},
    });

BasisParams BasisOf(const SideParams& side) {
  return BasisParams{side.MolWeight, side.HenryK, side.AmbientTempC, side.VaporTempC,
                     side.DensityMedium};
}

bool IsAcceptedTemperatureC(float tempC) {
  return tempC > -80.0f && tempC < 200.0f;
}

bool IsAcceptedPositive(float value) {
  return std::isfinite(value) && value > 0.0f;
}

bool SetTypedParam(SideParams& side, TypedParam param, float value) {
  switch (param) {
    case TypedParam::MolWeight:
    case TypedParam::HenryK:
      if (!IsAcceptedPositive(value)) return false;
      if (param == TypedParam::MolWeight) {
        side.MolWeight = value;
        side.GasIndex = static_cast<int16_t>(OtherGasIndex);
      } else {
        side.HenryK = value;
        side.Liquid = LiquidChoice::CustomLiquid;
      }
      return true;
    case TypedParam::AmbientTempC:
    case TypedParam::VaporTempC:
      if (!IsAcceptedTemperatureC(value)) return false;
      if (param == TypedParam::AmbientTempC) {
        side.AmbientTempC = value;
        side.AmbientTempUnit = AmbientTempUnit::AmbientCelsius;
      } else {
        side.VaporTempC = value;
        side.VaporTempUnit = VaporTempUnit::VaporCelsius;
      }
      return true;
  }
  return false;
}

UnitParams UnitParamsOf(const SideParams& side) {
  return UnitParams{side.AmbientTempC, side.MolWeight, side.HenryK, side.VaporTempC,
                    side.DensityMedium};
}

UnitParams UnitParamsOf(const BasisParams& basis) {
  return UnitParams{basis.AmbientTempC, basis.MolWeight, basis.HenryK, basis.VaporTempC,
                    basis.DensityMedium};
}

}  // namespace tavimor
