#pragma once

#include <span>

#include "core/calc_settings.h"
#include "core/unit_tables.h"

namespace tavimor {

// The formula, enhancement factor and natural-gas method in force for one conversion, after
// the natural-gas override. Decided once per conversion and passed to every step of it.
struct PhysicsChoice {
  tavimor::SwvpFormula SwvpFormula = tavimor::SwvpFormula::GoffGratch;
  tavimor::EnhancementFactor EnhancementFactor = tavimor::EnhancementFactor::NoEnhancement;
  tavimor::GasMethod GasMethod = tavimor::GasMethod::IgtBulletin8;
};

// True when the conversion involves natural gas: a lb/MMSCF unit on either side, or a g/m³
// unit whose side has the natural-gas medium. The units are the current selections of the
// From and To lists (-1 or any other number for a list without a selection).
bool NaturalGasOverride(const CalcSettings& settings, int fromSelection, int toSelection);

// Under the override both saturation operations use plain Goff-Gratch with no enhancement.
PhysicsChoice ChoosePhysics(const CalcSettings& settings, int fromSelection, int toSelection);

// Enhanced saturation vapour pressure over liquid water (supercooled below 0 °C).
// tC in °C, pressureMbar the total pressure in mbar; result in mbar.
double SaturationPressureWater(double tC, double pressureMbar, const PhysicsChoice& physics);

// Enhanced saturation vapour pressure over ice below 0 °C and over water from 0 °C on.
double SaturationPressureDewFrost(double tC, double pressureMbar, const PhysicsChoice& physics);

// The same over a column of temperatures at one total pressure: out[i] for tC[i], bit for bit
// the value of one call, with the choice of formula and factor made once for the column.
// out holds at least as many values as tC.
void SaturationPressuresWater(std::span<const double> tC, double pressureMbar,
                              const PhysicsChoice& physics, std::span<double> out);
void SaturationPressuresDewFrost(std::span<const double> tC, double pressureMbar,
                                 const PhysicsChoice& physics, std::span<double> out);

}  // namespace tavimor
