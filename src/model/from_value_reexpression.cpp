#include "model/from_value_reexpression.h"

#include "core/conversion_hub.h"
#include "core/moisture_format.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"

namespace tavimor {

ReexpressedFromValue ReexpressFromValue(float value, int oldUnit, int newUnit,
                                        float measuredPressureMbar, const CalcSettings& settings,
                                        const BasisParams& fromBasis, int fromSelection,
                                        int toSelection) {
  using Outcome = ReexpressOutcome;
  const auto from = MoistureUnitFromIndex(oldUnit);
  const auto to = MoistureUnitFromIndex(newUnit);
  if (!from) return {Outcome::OldUnitFailed, {}};
  const PhysicsChoice physics = ChoosePhysics(settings, fromSelection, toSelection);
  const double pm = measuredPressureMbar;
  const double c = MoistureToPpmv(*from, value, pm, UnitParamsOf(fromBasis), physics);
  // ppmv is held in single precision between the two halves, as in every conversion; a
  // value beyond the float range has no answer either.
  const float ppmv = HoldSingle(c);
  if (IsOutOfRange(c) || !std::isfinite(ppmv)) return {Outcome::OldUnitFailed, {}};
  if (!to) return {Outcome::NewUnitFailed, "N/A"};
  const double y = PpmvToMoisture(*to, ppmv, pm, UnitParamsOf(settings.From), pm, physics);
  const float held = HoldSingle(y);
  if (IsOutOfRange(y) || !std::isfinite(held)) return {Outcome::NewUnitFailed, "N/A"};
  return {Outcome::Value, FormatMoistureValue(*to, held)};
}

}  // namespace tavimor
