#pragma once

#include <string>
#include <string_view>

#include "core/formula_spread.h"
#include "core/unit_tables.h"

namespace tavimor {

// The unit after the numbers of the spread line: short, as a reader writes it after a value.
std::string_view SpreadUnitText(MoistureUnit unit);

// How far the choice of saturation formula and enhancement factor moves the result, in the
// result field's format and the To unit: the line the main window shows beside the panel.
// Without a valid spread (the result field shows no number) it says "out of range".
std::string SpreadLine(const MoistureSpread& spread, int toUnit);

}  // namespace tavimor
