#pragma once

#include <array>
#include <cstddef>

#include "core/calc_settings.h"
#include "core/moisture_conversion.h"

namespace tavimor {

// One choice of saturation formula and enhancement factor.
struct PhysicsCombination {
  tavimor::SwvpFormula SwvpFormula;
  tavimor::EnhancementFactor EnhancementFactor;
};

// Every combination, in the fixed order in which the spread lists them: formula by formula
// (Goff-Gratch, Hyland and Wexler, Sonntag, Magnus), and for each formula no enhancement
// factor, Greenspan, Bögel.
inline constexpr std::size_t kPhysicsCombinationCount = 12;
inline constexpr std::array<PhysicsCombination, kPhysicsCombinationCount> kPhysicsCombinations = {{
    {SwvpFormula::GoffGratch, EnhancementFactor::NoEnhancement},
    {SwvpFormula::GoffGratch, EnhancementFactor::Greenspan},
    {SwvpFormula::GoffGratch, EnhancementFactor::Bogel},
    {SwvpFormula::HylandWexler, EnhancementFactor::NoEnhancement},
    {SwvpFormula::HylandWexler, EnhancementFactor::Greenspan},
    {SwvpFormula::HylandWexler, EnhancementFactor::Bogel},
    {SwvpFormula::Sonntag, EnhancementFactor::NoEnhancement},
    {SwvpFormula::Sonntag, EnhancementFactor::Greenspan},
    {SwvpFormula::Sonntag, EnhancementFactor::Bogel},
    {SwvpFormula::Magnus, EnhancementFactor::NoEnhancement},
    {SwvpFormula::Magnus, EnhancementFactor::Greenspan},
    {SwvpFormula::Magnus, EnhancementFactor::Bogel},
}};

// How far the choice of formula and factor moves a conversion's result.
struct MoistureSpread {
  // The result under each combination of kPhysicsCombinations, held as the result field
  // holds it, or OutOfRange where that combination gives no answer.
  std::array<float, kPhysicsCombinationCount> Results{};
  bool Valid = false;  // at least one combination answers; Min and Max are then set
  float Min = 0;
  float Max = 0;
  std::size_t MinIndex = 0;  // first combination in the order giving Min
  std::size_t MaxIndex = 0;  // first combination in the order giving Max
};

// The panel's conversion of the From value (without the increment) under each of the 12
// combinations, with the natural-gas override applying as in every conversion: where it
// holds, all 12 are the plain Goff-Gratch result.
MoistureSpread ComputeMoistureSpread(const MoistureInputs& inputs, const CalcSettings& settings);

}  // namespace tavimor
