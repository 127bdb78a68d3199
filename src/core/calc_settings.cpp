#include "core/calc_settings.h"

#include <cmath>

#include "core/unit_tables.h"

namespace tavimor {

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
