#pragma once

namespace tavimor::parameter_dialog_ids {

// Dialog templates of the parameter dialogs; each is the dialog's objectName.
enum ParameterDialogTemplate : int {
  kLiquidDialog = 141,
  kAmbientDialog = 142,
  kDensityDialog = 143,
  kGasDialog = 145,
};

// Control identifiers of the parameter dialogs' fields and lists; each is the widget's
// objectName. Their option buttons carry the identifiers of the choices they stand for
// (LiquidChoice, AmbientTempUnit, DensityMedium, VaporTempUnit).
enum ParameterDialogControl : int {
  kCustomHenryK = 1027,        // liquid dialog: K of the custom liquid
  kAmbientTemperature = 1032,  // ambient dialog
  kVaporTemperature = 1035,    // density dialog
  kGasList = 1050,             // gas dialog
  kMolWeight = 1051,           // gas dialog: the weight of "other gas"
};

}  // namespace tavimor::parameter_dialog_ids
