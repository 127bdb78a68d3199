#include "core/formula_accuracy.h"

#include "core/saturation.h"
#include "core/saturation_reference_table.h"

namespace tavimor {

namespace {

namespace ref = saturation_reference;

// Without an enhancement factor the total pressure does not enter.
constexpr double kAnyPressureMbar = 1013.25;

template <class Rows, class Deviation>
DeviationRange Deviations(const Rows& rows, double lowC, double highC, Deviation deviation) {
  DeviationRange range;
  bool first = true;
  for (const auto& row : rows) {
    if (row.TempC < lowC || row.TempC > highC) continue;
    const double d = deviation(row);
    if (first || d < range.Lowest) range.Lowest = d;
    if (first || d > range.Highest) range.Highest = d;
    first = false;
  }
  return range;
}

}  // namespace

DeviationRange SaturationDeviations(SwvpFormula formula, ReferencePhase phase, double lowC,
                                    double highC) {
  const PhysicsChoice physics{formula, EnhancementFactor::NoEnhancement, GasMethod::IgtBulletin8};
  if (phase == ReferencePhase::Water) {
    return Deviations(ref::kWater, lowC, highC, [&](const ref::PressureRow& row) {
      return SaturationPressureWater(row.TempC, kAnyPressureMbar, physics) / row.PressureMbar - 1;
    });
  }
  return Deviations(ref::kIce, lowC, highC, [&](const ref::PressureRow& row) {
    return SaturationPressureDewFrost(row.TempC, kAnyPressureMbar, physics) / row.PressureMbar - 1;
  });
}

DeviationRange EnhancementDeviations(EnhancementFactor factor, double lowC, double highC) {
  const PhysicsChoice plain{SwvpFormula::GoffGratch, EnhancementFactor::NoEnhancement,
                            GasMethod::IgtBulletin8};
  const PhysicsChoice enhanced{SwvpFormula::GoffGratch, factor, GasMethod::IgtBulletin8};
  return Deviations(ref::kEnhancement, lowC, highC, [&](const ref::EnhancementRow& row) {
    const auto op = row.TempC < 0 ? SaturationPressureDewFrost : SaturationPressureWater;
    const double f =
        op(row.TempC, row.PressureMbar, enhanced) / op(row.TempC, row.PressureMbar, plain);
    return f / row.Factor - 1;
  });
}

}  // namespace tavimor
