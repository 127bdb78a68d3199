#pragma once

#include <string>
#include <string_view>

#include "core/formula_spread.h"
#include "core/unit_tables.h"

namespace tavimor {

// The unit as the From and To lists name it: the head of its entry, before the dash.
std::string_view SpreadUnitText(MoistureUnit unit);

// How far the choice of saturation formula and enhancement factor moves the result, in the
// result field's format and the To unit: the line the main window shows below its motto
// while the panel is shown. Where every choice gives the same text it says so, and names
// the natural-gas method when naturalGasDecides (its override makes all choices one). Without
// a valid spread (the result field shows no number) it says "out of range".
std::string SpreadLine(const MoistureSpread& spread, int toUnit, bool naturalGasDecides);

}  // namespace tavimor
