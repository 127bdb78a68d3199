#include "model/parameter_dialogs.h"

#include "core/fahrenheit.h"
#include "core/number_text.h"
#include "model/parameter_labels.h"

namespace tavimor {

GasWorking GasWorkingOf(const SideParams& side) {
  return {side.GasIndex, side.MolWeight};
}

LiquidWorking LiquidWorkingOf(const SideParams& side) {
  return {side.Liquid, side.HenryK};
}

AmbientWorking AmbientWorkingOf(const SideParams& side) {
  return {side.AmbientTempUnit, side.AmbientTempC};
}

DensityWorking DensityWorkingOf(const SideParams& side) {
  return {side.DensityMedium, side.VaporTempUnit, side.VaporTempC};
}

void ApplyWorking(const GasWorking& working, SideParams& side) {
  side.GasIndex = working.GasIndex;
  side.MolWeight = working.MolWeight;
}

void ApplyWorking(const LiquidWorking& working, SideParams& side) {
  side.Liquid = working.Liquid;
  side.HenryK = working.HenryK;
}

void ApplyWorking(const AmbientWorking& working, SideParams& side) {
  side.AmbientTempUnit = working.AmbientTempUnit;
  side.AmbientTempC = working.AmbientTempC;
}

void ApplyWorking(const DensityWorking& working, SideParams& side) {
  side.DensityMedium = working.DensityMedium;
  side.VaporTempUnit = working.VaporTempUnit;
  side.VaporTempC = working.VaporTempC;
}

void OpenGasDialog(GasWorking& working, std::string& suffix) {
  if (working.GasIndex < 0 || working.GasIndex >= kGasCount) working.GasIndex = 1;
  const GasEntry& entry = GasTable[static_cast<std::size_t>(working.GasIndex)];
  suffix = entry.LabelSuffix;
  if (working.GasIndex != OtherGasIndex) working.MolWeight = entry.MolWeight;
}

void OpenLiquidDialog(LiquidWorking& working, std::string& suffix) {
  if (!LiquidOfButton(static_cast<int>(working.Liquid))) working.Liquid = LiquidChoice::Hexane;
  ChooseLiquid(working, static_cast<int>(working.Liquid), suffix);
}

void OpenDensityDialog(DensityWorking& working, std::string& suffix) {
  if (working.VaporTempUnit != VaporTempUnit::VaporFahrenheit) {
    working.VaporTempUnit = VaporTempUnit::VaporCelsius;
  }
  if (MediumText(working.DensityMedium).empty()) working.DensityMedium = DensityMedium::NaturalGas;
  ChooseMedium(working, working.DensityMedium, suffix);
}

const LiquidEntry* LiquidOfButton(int button) {
  for (const LiquidEntry& liquid : kLiquidTable) {
    if (static_cast<int>(liquid.Button) == button) return &liquid;
  }
  return nullptr;
}

bool ChooseLiquid(LiquidWorking& working, int button, std::string& suffix) {
  const LiquidEntry* liquid = LiquidOfButton(button);
  if (!liquid) return false;
  working.Liquid = liquid->Button;
  if (liquid->Button != LiquidChoice::CustomLiquid) {
    working.HenryK = liquid->HenryK;
    suffix = liquid->LabelSuffix;
  }
  return true;
}

void ChooseMedium(DensityWorking& working, DensityMedium medium, std::string& suffix) {
  working.DensityMedium = medium;
  suffix = MediumText(medium);
}

bool GasDialogOk(GasWorking& working, int row, float typed, std::string& suffix) {
  if (row < 0 || row >= kGasCount) return false;
  working.GasIndex = static_cast<int16_t>(row);
  working.MolWeight =
      row == OtherGasIndex ? typed : GasTable[static_cast<std::size_t>(row)].MolWeight;
  suffix = GasLabelSuffix(row, working.MolWeight);
  return IsAcceptedPositive(working.MolWeight);
}

bool LiquidDialogOk(LiquidWorking& working, bool customMarked, float typed, std::string& suffix) {
  if (customMarked) {
    working.HenryK = typed;
    suffix = CustomLiquidLabelSuffix(typed);
  }
  return IsAcceptedPositive(working.HenryK);
}

bool AmbientDialogOk(AmbientWorking& working, int checkedUnit, float typed, std::string& suffix) {
  const bool celsius = checkedUnit == static_cast<int>(AmbientTempUnit::AmbientCelsius);
  const bool fahrenheit = checkedUnit == static_cast<int>(AmbientTempUnit::AmbientFahrenheit);
  float tempC = working.AmbientTempC;
  if (celsius) tempC = typed;
  if (fahrenheit) tempC = CelsiusFromFahrenheit(typed);
  if (!IsAcceptedTemperatureC(tempC)) return false;
  working.AmbientTempC = tempC;
  if (celsius || fahrenheit) {
    working.AmbientTempUnit = static_cast<AmbientTempUnit>(checkedUnit);
    suffix = AmbientLabelSuffix(tempC, fahrenheit);
  }
  return true;
}

bool DensityDialogOk(DensityWorking& working, bool fahrenheit, float typed, std::string& suffix) {
  const float tempC = fahrenheit ? CelsiusFromFahrenheit(typed) : typed;
  if (!IsAcceptedTemperatureC(tempC)) return false;
  working.VaporTempUnit = fahrenheit ? VaporTempUnit::VaporFahrenheit : VaporTempUnit::VaporCelsius;
  working.VaporTempC = tempC;
  suffix = MediumLabelSuffix(working.DensityMedium, tempC, fahrenheit);
  return true;
}

std::optional<ParameterDialogAnswer> ParameterDialogOk(const ParameterDialogRequest& request,
                                                       const ParameterDialogControls& controls) {
  ParameterDialogAnswer answer{request.Params, request.LabelSuffix};
  std::string& suffix = answer.LabelSuffix;
  bool accepted = false;
  switch (request.Unit) {
    case MoistureUnit::PpmwGas: {
      GasWorking working = GasWorkingOf(request.Params);
      OpenGasDialog(working, suffix);
      accepted = GasDialogOk(working, controls.Choice, controls.Number, suffix);
      ApplyWorking(working, answer.Params);
      break;
    }
    case MoistureUnit::PpmwLiquid: {
      LiquidWorking working = LiquidWorkingOf(request.Params);
      OpenLiquidDialog(working, suffix);
      accepted = ChooseLiquid(working, controls.Choice, suffix) &&
                 LiquidDialogOk(working, working.Liquid == LiquidChoice::CustomLiquid,
                                controls.Number, suffix);
      ApplyWorking(working, answer.Params);
      break;
    }
    case MoistureUnit::RelHumidity: {
      AmbientWorking working = AmbientWorkingOf(request.Params);
      accepted = AmbientDialogOk(working, controls.Unit, controls.Number, suffix);
      ApplyWorking(working, answer.Params);
      break;
    }
    case MoistureUnit::GramsPerM3: {
      DensityWorking working = DensityWorkingOf(request.Params);
      OpenDensityDialog(working, suffix);
      const auto medium = static_cast<DensityMedium>(controls.Choice);
      if (MediumText(medium).empty()) return std::nullopt;
      ChooseMedium(working, medium, suffix);
      accepted = DensityDialogOk(working,
                                 controls.Unit == static_cast<int>(VaporTempUnit::VaporFahrenheit),
                                 controls.Number, suffix);
      ApplyWorking(working, answer.Params);
      break;
    }
    default:
      break;
  }
  if (!accepted) return std::nullopt;
  return answer;
}

std::string DialogFieldText(float value) {
  return FormatSignificant(value, 7);
}

}  // namespace tavimor
