#pragma once

#include "core/calc_settings.h"

namespace tavimor {

enum class ReferencePhase { Water, Ice };

// The smallest and largest relative deviation, value / reference - 1, over the reference rows
// (saturation_reference_table.h) with lowC <= t <= highC.
struct DeviationRange {
  double Lowest = 0;
  double Highest = 0;
  double Largest() const { return -Lowest > Highest ? Lowest : Highest; }  // with its sign
};

// The program's saturation operation under the formula with no enhancement factor:
// SaturationPressureWater against the pressures over liquid water, SaturationPressureDewFrost
// against those over ice.
DeviationRange SaturationDeviations(SwvpFormula formula, ReferencePhase phase, double lowC,
                                    double highC);

// An enhancement factor, taken as e'/e of the program's saturation operation under Goff-Gratch
// (over ice below 0 °C, over water above), against the factors of saturated air at every
// reference pressure; no enhancement factor counts as 1.
DeviationRange EnhancementDeviations(EnhancementFactor factor, double lowC, double highC);

}  // namespace tavimor
