#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/calc_settings.h"

namespace tavimor {

// The eleven moisture units; the value is the position in the panel's unit lists and what
// the saved selections store.
enum class MoistureUnit : int32_t {
  PartialPressure = 0,
  DewFrostPointC = 1,
  DewFrostPointF = 2,
  DewPointC = 3,
  DewPointF = 4,
  Ppmv = 5,
  PpmwGas = 6,
  LbsPerMmscf = 7,
  GramsPerM3 = 8,
  RelHumidity = 9,
  PpmwLiquid = 10,
};
inline constexpr int kMoistureUnitCount = 11;

// The From values a unit accepts, bounds included and compared in single precision, and
// the message shown for a value outside them.
struct FromRange {
  float Low;
  float High;
  std::string_view Message;
};

// Everything about one unit that is not physics: one row per unit, in list order. Texts are
// UTF-8; the degree sign, superscript three and micro sign are the characters the program
// shows.
struct MoistureUnitRow {
  int32_t Index;                   // the MoistureUnit value, its position in the lists
  std::string_view ComboText;      // entry of the From and To lists
  int32_t IsAmount;                // 1 for quantities of water, 0 for dew and frost points
  std::string_view Name;           // how tavimor-convert and the Python package name it
  std::optional<FromRange> Range;  // the From values accepted; nothing: the physics decides
  std::string_view ResultHeader;   // header of a table's result column
};

extern const std::array<MoistureUnitRow, kMoistureUnitCount> kMoistureUnits;

// Valid list position 0..10, or nothing (a list without a selection, a bad saved index).
std::optional<MoistureUnit> MoistureUnitFromIndex(int index);

enum class PressureUnit : int32_t { Mbar = 0, Psia = 1, Psig = 2, Atm = 3, Kpa = 4 };
inline constexpr int kPressureUnitCount = 5;

struct PressureUnitRow {
  int32_t Index;
  std::string_view Name;  // list text; in lower case, how the command and Python name it
  float OffsetMbar;       // v in the unit is v / PerMbar + OffsetMbar millibar
  float PerMbar;          // units per millibar, held in single precision
};
extern const std::array<PressureUnitRow, kPressureUnitCount> kPressureUnits;

bool IsPressureUnitIndex(int index);

// v / PerMbar + OffsetMbar in double from the single-precision v and factors, rounded to
// 0.01 mbar, before it is held. An index naming no unit gives NaN, which the conversions
// report as out of range.
double RoundedPressureMbar(float value, int pressureUnitIndex);

// The same, held in single precision: how the panel and the graph read a pressure field.
float ReadPressureMbar(float value, int pressureUnitIndex);

// (p - OffsetMbar) * PerMbar rounded to 0.001 and held in single precision.
float PressureFromMbar(float pressureMbar, int pressureUnitIndex);

// Carrier gases of the ppm-by-weight unit.
struct GasEntry {
  std::string_view ListText;
  std::string_view LabelSuffix;
  float MolWeight;  // g/mol; 0 for the last row, where the user types it
};
inline constexpr int kGasCount = 16;
inline constexpr int OtherGasIndex = 15;
extern const std::array<GasEntry, kGasCount> GasTable;

// Liquids of the ppm-by-weight-in-a-liquid unit, in the order of the liquid dialog.
struct LiquidEntry {
  LiquidChoice Button;  // the option button that chooses it
  std::string_view Text;
  float HenryK;  // ppm per mbar; 0 for the custom row
  std::string_view LabelSuffix;
};
inline constexpr int kLiquidCount = 6;
extern const std::array<LiquidEntry, kLiquidCount> kLiquidTable;

}  // namespace tavimor
