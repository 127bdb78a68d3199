#pragma once

#include <string>

namespace tavimor {

// The formulas' and enhancement factors' largest deviations from the published reference
// values by temperature band, as tavimor-convert --accuracy prints them and the README shows
// them.
std::string FormulaAccuracyTable();

}  // namespace tavimor
