#include "core/calc_settings.h"

namespace tavimor {

BasisParams BasisOf(const SideParams& side) {
  return BasisParams{side.MolWeight, side.HenryK, side.AmbientTempC, side.VaporTempC,
                     side.DensityMedium};
}

UnitParams UnitParamsOf(const SideParams& side) {
  return UnitParams{side.AmbientTempC, side.MolWeight, side.HenryK, side.VaporTempC,
                    side.DensityMedium};
}

UnitParams UnitParamsOf(const BasisParams& basis) {
  return UnitParams{basis.AmbientTempC, basis.MolWeight, basis.HenryK, basis.VaporTempC,
                    basis.DensityMedium};
}

}  // namespace tavimor
