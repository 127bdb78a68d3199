#include "core/formula_spread.h"

#include "core/dew_point.h"
#include "core/saturation.h"

namespace tavimor {

namespace {

bool SamePhysics(const PhysicsChoice& a, const PhysicsChoice& b) {
  return a.SwvpFormula == b.SwvpFormula && a.EnhancementFactor == b.EnhancementFactor &&
         a.GasMethod == b.GasMethod;
}

}  // namespace

MoistureSpread ComputeMoistureSpread(const MoistureInputs& inputs, const CalcSettings& settings) {
  MoistureSpread spread;
  std::array<PhysicsChoice, kPhysicsCombinationCount> physics{};
  CalcSettings combination = settings;
  for (std::size_t i = 0; i < kPhysicsCombinationCount; ++i) {
    combination.SwvpFormula = kPhysicsCombinations[i].SwvpFormula;
    combination.EnhancementFactor = kPhysicsCombinations[i].EnhancementFactor;
    physics[i] = ChoosePhysics(combination, inputs.FromListSelection, inputs.ToListSelection);
    // Under the natural-gas override every combination is the same conversion: convert once.
    std::size_t same = 0;
    while (same < i && !SamePhysics(physics[same], physics[i])) ++same;
    const float r =
        same < i ? spread.Results[same] : ConvertMoistureValue(inputs, settings, physics[i]);
    spread.Results[i] = r;
    if (r == static_cast<float>(OutOfRange)) continue;
    if (!spread.Valid || r < spread.Min) {
      spread.Min = r;
      spread.MinIndex = i;
    }
    if (!spread.Valid || r > spread.Max) {
      spread.Max = r;
      spread.MaxIndex = i;
    }
    spread.Valid = true;
  }
  return spread;
}

}  // namespace tavimor
