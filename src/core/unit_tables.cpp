#include "core/unit_tables.h"

#include <cmath>

#include "core/complete_table.h"
#include "core/dew_point.h"
#include "core/single_precision.h"

namespace tavimor {

namespace {

constexpr FromRange kPpmRange{0.0f, 138670.0f, "stay between 0 and 138670 ppm"};

}  // namespace

// To add a unit, add its row here (and its steps to the conversion hub).
constexpr std::array<MoistureUnitRow, kMoistureUnitCount> kMoistureUnits =
    CompleteTable<MoistureUnitRow, kMoistureUnitCount>({
        {0, "mB  -  partial water vapor pressure", 1, "mbar",
         FromRange{0.0f, 123.4f, "stay between 0 and 123.4 mb."}, "vapour pressure mbar"},
        {1, "°C  -  dew/frost point", 0, "dfp-c",
         FromRange{-140.0f, 50.0f, "stay between -140°C and +50°C"}, "dew/frost point °C"},
        {2, "°F  -  dew/frost point", 0, "dfp-f",
         FromRange{-220.0f, 122.0f, "stay between -220°F and +122°F"}, "dew/frost point °F"},
        {3, "°C  -  dewpoint over supercooled water no ice", 0, "dp-c", std::nullopt,
         "dew point °C"},
        {4, "°F  -  dewpoint over supercooled water no ice", 0, "dp-f", std::nullopt,
         "dew point °F"},
        {5, "PPMv  -  parts per million by volume", 1, "ppmv", kPpmRange, "ppmv"},
        {6, "PPMw(mol/mol)  -  parts per million by weight | choose gas...", 1, "ppmw", kPpmRange,
         "ppmw"},
        {7, "lbs H2O per Million Feet³ - water vapor density in Natural Gas @ STP", 1, "lb-mmscf",
         FromRange{0.0f, 5812.0f, "stay between 0 and 5812 lbs/mm'³"}, "lb/MMSCF"},
        {8, "grams H2O per meter³ - vapor density | specify medium...", 1, "g-m3",
         FromRange{0.0f, 93.0f, "stay between 0 and 93 g/m³"}, "g/m³"},
        {9, "%RH  -  percent Relative Humidity | choose temp...", 1, "rh", std::nullopt, "%RH"},
        {10, "PPMw(µg/g)  -  parts per million by weight | choose liquid...", 1, "ppmw-liquid",
         kPpmRange, "ppmw in liquid"},
    });
static_assert(InIndexOrder(kMoistureUnits));

std::optional<MoistureUnit> MoistureUnitFromIndex(int index) {
  if (index < 0 || index >= kMoistureUnitCount) return std::nullopt;
  return static_cast<MoistureUnit>(index);
}

constexpr std::array<PressureUnitRow, kPressureUnitCount> kPressureUnits =
    CompleteTable<PressureUnitRow, kPressureUnitCount>({
        {0, "mBAR", 0.0f, 1.0f},
        {1, "PSIA", 0.0f, 0.0145038f},
        {2, "PSIG", 1013.25f, 0.01450377f},
        {3, "ATM", 0.0f, 0.00098692f},
        {4, "kPa", 0.0f, 0.1f},
    });
static_assert(InIndexOrder(kPressureUnits));

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

constexpr std::array<GasEntry, kGasCount> GasTable = CompleteTable<GasEntry, kGasCount>({
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
});

constexpr std::array<LiquidEntry, kLiquidCount> kLiquidTable =
    CompleteTable<LiquidEntry, kLiquidCount>({
        {LiquidChoice::TransformerOil, "Transformer Oil (K=1.7)", 1.7f,
         " in Transformer Oil K=1.7"},
        {LiquidChoice::Hexane, "Hexane (K=1.9)", 1.9f, " in Hexane K=1.9"},
        {LiquidChoice::Hexene, "Hexene (K=6.2)", 6.2f, " in Hexene K=6.2"},
        {LiquidChoice::HexaneBenzene5050, "Hexane 50% + Benzene 50% (K=8.6)", 8.6f,
         " in 50/50 mix of Hexane+Benzene K=8.6"},
        {LiquidChoice::Benzene, "Benzene (K=15.5)", 15.5f, " in Benzene K=15.5"},
        {LiquidChoice::CustomLiquid, "Custom K, ppm/mBar", 0.0f, " in Unknown Liquid K=%5.1f"},
    });

}  // namespace tavimor
