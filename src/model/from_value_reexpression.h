#pragma once

#include <string>

#include "core/calc_settings.h"

namespace tavimor {

// The From number re-expressed when the From unit changes: converted to ppmv at the measured
// pressure in the old unit with the parameters under which it was entered (FromBasis), then
// from ppmv at the same pressure into the new unit with the From side's parameters.
enum class ReexpressOutcome {
  Value,          // Text holds the formatted number in the new unit
  OldUnitFailed,  // the old unit cannot convert the number
  NewUnitFailed,  // the new unit cannot express it ("N/A")
};

struct ReexpressedFromValue {
  ReexpressOutcome Outcome = ReexpressOutcome::Value;
  std::string Text;
};

// fromSelection and toSelection are the lists' current selections (the new unit already
// counts), which the natural-gas override looks at; measuredPressureMbar is the measured
// pressure as the panel reads it; fromBasis the parameters the number was entered under.
ReexpressedFromValue ReexpressFromValue(float value, int oldUnit, int newUnit,
                                        float measuredPressureMbar, const CalcSettings& settings,
                                        const BasisParams& fromBasis, int fromSelection,
                                        int toSelection);

}  // namespace tavimor
