#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/calc_settings.h"
#include "core/unit_tables.h"
#include "model/moisture_model.h"

namespace tavimor {

// The four parameter dialogs without widgets: the copy each works on of a side's values,
// what it makes of that copy as it opens and at the command of a button, and its OK, which
// accepts or refuses the typed value and writes the label suffix. The desktop's dialogs and
// the page's both run these. Only an accepted OK ends a dialog; a refused one leaves it open.

// Dialog 145, the carrier gas of ppm by weight in a gas.
struct GasWorking {
  int16_t GasIndex = 1;  // row of GasTable
  float MolWeight = 29;  // g/mol
};

// Dialog 141, the liquid of ppm by weight in a liquid and its Henry's constant.
struct LiquidWorking {
  LiquidChoice Liquid = LiquidChoice::Hexane;
  float HenryK = 1.9f;  // ppm per mbar
};

// Dialog 142, the dry bulb of relative humidity.
struct AmbientWorking {
  tavimor::AmbientTempUnit AmbientTempUnit = tavimor::AmbientTempUnit::AmbientCelsius;
  float AmbientTempC = 20;  // always °C
};

// Dialog 143, the medium and temperature of g/m³.
struct DensityWorking {
  tavimor::DensityMedium DensityMedium = tavimor::DensityMedium::NaturalGas;
  tavimor::VaporTempUnit VaporTempUnit = tavimor::VaporTempUnit::VaporCelsius;
  float VaporTempC = 20;  // always °C
};

// A side's values as each dialog's copy, and the copy written back: only the dialog's own
// values change.
GasWorking GasWorkingOf(const SideParams& side);
LiquidWorking LiquidWorkingOf(const SideParams& side);
AmbientWorking AmbientWorkingOf(const SideParams& side);
DensityWorking DensityWorkingOf(const SideParams& side);
void ApplyWorking(const GasWorking& working, SideParams& side);
void ApplyWorking(const LiquidWorking& working, SideParams& side);
void ApplyWorking(const AmbientWorking& working, SideParams& side);
void ApplyWorking(const DensityWorking& working, SideParams& side);

// Opening. A row, liquid, medium or unit that is none of the dialog's (only a hand-edited
// file gives one) falls back to the default. A gas of the table brings its weight and its
// suffix; the liquid and density dialogs run the command of their marked button.
void OpenGasDialog(GasWorking& working, std::string& suffix);
void OpenLiquidDialog(LiquidWorking& working, std::string& suffix);
void OpenDensityDialog(DensityWorking& working, std::string& suffix);

// The row of a liquid button, or null for a number that is none.
const LiquidEntry* LiquidOfButton(int button);

// A liquid button's command: a liquid of the table brings its K and suffix, the custom one
// keeps the working K for its field. False for a number that is no liquid button.
bool ChooseLiquid(LiquidWorking& working, int button, std::string& suffix);
// A medium button's command.
void ChooseMedium(DensityWorking& working, DensityMedium medium, std::string& suffix);

// OK, with what the controls hold then (typed: the field's number, read as every field is
// read); true when the value is accepted. The gas dialog takes the list's row and reads the
// field for "other gas" only; the liquid dialog reads it while the custom liquid is marked;
// the ambient dialog reads it in the unit checked (none: the working temperature stands).
bool GasDialogOk(GasWorking& working, int row, float typed, std::string& suffix);
bool LiquidDialogOk(LiquidWorking& working, bool customMarked, float typed, std::string& suffix);
bool AmbientDialogOk(AmbientWorking& working, int checkedUnit, float typed, std::string& suffix);
bool DensityDialogOk(DensityWorking& working, bool fahrenheit, float typed, std::string& suffix);

// What the controls of a dialog hold at OK, for a view that keeps no dialog object of its
// own (the page).
struct ParameterDialogControls {
  int Choice = 0;    // the gas list's row, or the button of the liquid or the medium
  int Unit = 0;      // the checked temperature unit button (0: none)
  float Number = 0;  // the field's number
};

// The OK of the dialog that request opens, its buttons and list set to controls: the
// answer when the value is accepted.
std::optional<ParameterDialogAnswer> ParameterDialogOk(const ParameterDialogRequest& request,
                                                       const ParameterDialogControls& controls);

// The text a dialog writes into its field: 7 significant digits.
std::string DialogFieldText(float value);

}  // namespace tavimor
