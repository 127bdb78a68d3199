#include "core/unit_tables.h"

#include <cmath>

#include "core/dew_point.h"
#include "core/single_precision.h"

namespace tavimor {

const std::array<MoistureUnitRow, kMoistureUnitCount> kMoistureUnits = {{
    {0, "mB", "mB", "Water Vapor Pressure", "mB  -  partial water vapor pressure", 1},
    {1, "°C", "D/F.P.°C", "DEW/FROST POINT °C", "°C  -  dew/frost point", 0},
    {2, "°F", "D/F.P.°F", "DEW/FROST POINT °F", "°F  -  dew/frost point", 0},
    {3, "°C", "D.P.°C", "DEWPOINT °C", "°C  -  dewpoint over supercooled water no ice", 0},
    {4, "°F", "D.P.°F", "DEWPOINT °F", "°F  -  dewpoint over supercooled water no ice", 0},
    {5, "PPMv full", "PPMv", "WATER VAPOR", "PPMv  -  parts per million by volume", 1},
    {6, "PPMw", "PPMw", "WATER VAPOR",
     "PPMw(mol/mol)  -  parts per million by weight | choose gas...", 1},
    {7, "LbsH2O", "lbs/mm'³", "lbs per Million Feet³",
     "lbs H2O per Million Feet³ - water vapor density in Natural Gas @ STP", 1},
    {8, "g/m³", "g/m³", "grams per meter³",
     "grams H2O per meter³ - vapor density | specify medium...", 1},
    {9, "%RH", "%RH", "% Relative Humidity", "%RH  -  percent Relative Humidity | choose temp...",
     1},
    {10, "PPMw", "PPMw", "water vapor in LIQUID",
     "PPMw(µg/g)  -  parts per million by weight | choose liquid...", 1},
}};

std::optional<MoistureUnit> MoistureUnitFromIndex(int index) {
  if (index < 0 || index >= kMoistureUnitCount) return std::nullopt;
  return static_cast<MoistureUnit>(index);
}

const std::array<PressureUnitRow, kPressureUnitCount> kPressureUnits = {{
    {0, "mBAR", 0.0f, 1.0f},
    {1, "PSIA", 0.0f, 0.0145038f},
    {2, "PSIG", 1013.25f, 0.01450377f},
    {3, "ATM", 0.0f, 0.00098692f},
    {4, "kPa", 0.0f, 0.1f},
}};

bool IsPressureUnitIndex(int index) {
  return index >= 0 && index < kPressureUnitCount;
}

double RoundedPressureMbar(float value, int pressureUnitIndex) {
  if (!IsPressureUnitIndex(pressureUnitIndex)) return NAN;
  const PressureUnitRow& row = kPressureUnits[static_cast<std::size_t>(pressureUnitIndex)];
  const double mbar = static_cast<double>(value) / static_cast<double>(row.PerMbar) +
                      static_cast<double>(row.OffsetMbar);
  return RoundToPowerOfTen(mbar, -2);
}

float ReadPressureMbar(float value, int pressureUnitIndex) {
  return HoldSingle(RoundedPressureMbar(value, pressureUnitIndex));
}

float PressureFromMbar(float pressureMbar, int pressureUnitIndex) {
  if (!IsPressureUnitIndex(pressureUnitIndex)) return NAN;
  const PressureUnitRow& row = kPressureUnits[static_cast<std::size_t>(pressureUnitIndex)];
  const double v = (static_cast<double>(pressureMbar) - static_cast<double>(row.OffsetMbar)) *
                   static_cast<double>(row.PerMbar);
  return HoldSingle(RoundToPowerOfTen(v, -3));
}

const std::array<GasEntry, kGasCount> GasTable = {{
    {"Acetylene MW=26", " in Acetylene MW=26", 26},
    {"Air MW=29", " in Air MW=29", 29},
    {"Ammonia MW=17", " in Ammonia MW=17", 17},
    {"Argon MW=40", " in Argon MW=40", 40},
    {"CO2 MW=44", " in CO2 MW=44", 44},
    {"CO MW=28", " in CO MW=28", 28},
    {"Ethylene MW=28", " in Ethylene MW=28", 28},
    {"Ethylene Glycol MW=62", " in Ethylene Glycol gas MW=62", 62},
    {"Helium MW=4", " in Helium MW=4", 4},
    {"Hexane MW=84", " in Hexane MW=84", 84},
    {"Hydrogen MW=2", " in Hydrogen MW=2", 2},
    {"Methane MW=16", " in Methane MW=16", 16},
    {"Nitrogen MW=28", " in Nitrogen MW=28", 28},
    {"Oxygen MW=32", " in Oxygen MW=32", 32},
    {"Sulfur Dioxide MW=64", " in Sulfur Dioxide MW=64", 64},
    {"other gas enter MW", " in some gas with MW=", 0},
}};

const std::array<LiquidEntry, kLiquidCount> kLiquidTable = {{
    {LiquidChoice::TransformerOil, "Transformer Oil (K=1.7)", 1.7f, " in Transformer Oil K=1.7"},
    {LiquidChoice::Hexane, "Hexane (K=1.9)", 1.9f, " in Hexane K=1.9"},
    {LiquidChoice::Hexene, "Hexene (K=6.2)", 6.2f, " in Hexene K=6.2"},
    {LiquidChoice::HexaneBenzene5050, "Hexane 50% + Benzene 50% (K=8.6)", 8.6f,
     " in 50/50 mix of Hexane+Benzene K=8.6"},
    {LiquidChoice::Benzene, "Benzene (K=15.5)", 15.5f, " in Benzene K=15.5"},
    {LiquidChoice::CustomLiquid, "Custom K, ppm/mBar", 0.0f, " in Unknown Liquid K=%5.1f"},
}};

}  // namespace tavimor
