#pragma once

#include "core/calc_settings.h"
#include "core/saturation.h"

namespace tavimor::test {

inline PhysicsChoice Physics(SwvpFormula formula,
                             EnhancementFactor factor = EnhancementFactor::NoEnhancement,
                             GasMethod method = GasMethod::IgtBulletin8) {
  return PhysicsChoice{formula, factor, method};
}

inline const PhysicsChoice kGoffGratch = Physics(SwvpFormula::GoffGratch);

constexpr double kStandardMbar = 1013.25;

}  // namespace tavimor::test
