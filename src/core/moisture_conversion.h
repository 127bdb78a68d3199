#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/calc_settings.h"
#include "core/conversion_hub.h"
#include "core/unit_tables.h"

namespace tavimor {

// What the Moisture/Humidity panel's fields and lists hold at a recomputation.
struct MoistureInputs {
  float FromValue = 0;                // From field, held in single precision
  float Increment = 0;                // left "delta" field
  int FromUnit = 1;                   // unit the From number is expressed in
  int FromListSelection = 1;          // current selections of the unit lists, seen by the
  int ToListSelection = 1;            // natural-gas override; ToListSelection is also the To unit
  float MeasuredPressure = 1013.25f;  // number of the measured pressure field
  int MeasuredPressureUnit = 0;       // PressureUnit index of that field
  float ComputePressure = 1013.25f;   // number of the compute-at pressure field
  int ComputePressureUnit = 0;
};

struct MoistureResults {
  std::string ResultText;  // "out of range" or the formatted result
  std::string DeltaText;   // "out of range", "n/a" or the formatted difference
  float Result = static_cast<float>(OutOfRange);  // as held, or OutOfRange
  float Delta = static_cast<float>(OutOfRange);   // r_d - r as held, or OutOfRange
  bool ResultValid = false;
  bool DeltaValid = false;
};

inline constexpr std::string_view kOutOfRangeText = "out of range";
inline constexpr std::string_view kNotApplicableText = "n/a";

// The held values of a recomputation, without the texts.
struct MoistureValues {
  float Result = static_cast<float>(OutOfRange);
  float Delta = static_cast<float>(OutOfRange);
  bool ResultValid = false;
  bool DeltaValid = false;
  bool DeltaNotApplicable = false;  // the delta shows "n/a", not "out of range"
};

// The panel's recomputation with everything but the From value decided once, so that a
// column of values converts without deciding it again for each. Reads every field of the
// inputs except FromValue.
class MoistureConversion {
 public:
  MoistureConversion(const MoistureInputs& inputs, const CalcSettings& settings);
  // The same under the given physics instead of the one the settings choose.
  MoistureConversion(const MoistureInputs& inputs, const CalcSettings& settings,
                     const PhysicsChoice& physics);

  MoistureValues values(float fromValue) const;
  MoistureResults results(float fromValue) const;
  // The texts of results() for the values of values(), appended to out.
  void appendResultText(std::string& out, const MoistureValues& v) const;
  void appendDeltaText(std::string& out, const MoistureValues& v) const;

  // A column of From values, each taken as the From field takes a number (held in single
  // precision, checked against the From unit's range) and converted without the increment:
  // results[i] is the held result widened to double, bit for bit that of values(), or NaN
  // where the value lies outside the range (outside[i] = 1) or there is no answer. The
  // spans hold as many values as values. The column passes through the conversion one
  // step at a time (MoistureToPpmvColumn, PpmvToMoistureColumn), which lets the machine
  // overlap the work of neighbouring values: about twice as fast as value by value.
  void convertColumn(std::span<const double> values, std::span<double> results,
                     std::span<uint8_t> outside) const;

 private:
  PhysicsChoice m_physics;
  std::optional<MoistureUnit> m_fromUnit;
  std::optional<MoistureUnit> m_toUnit;
  std::optional<FromRange> m_fromRange;
  UnitParams m_from;
  UnitParams m_to;
  double m_increment;
  double m_measuredMbar;     // rounded to 0.01 mbar, not held
  float m_measuredHeldMbar;  // the same, held in single precision
  float m_computeMbar;
};

// The panel's recomputation: converts the From value and the From value plus the
// increment, at the measured pressure with the From-side parameters, into the To unit at
// the compute-at pressure with the To-side parameters.
MoistureResults ComputeMoistureResults(const MoistureInputs& inputs, const CalcSettings& settings);

// The result alone, bit for bit as ComputeMoistureResults holds it (OutOfRange without an
// answer), but under the given physics instead of the one the settings choose.
float ConvertMoistureValue(const MoistureInputs& inputs, const CalcSettings& settings,
                           const PhysicsChoice& physics);

// The range check of the From value for the unit selected in the From list: the message to
// show when the value lies outside (or is not a number), nothing when it is accepted or the
// unit has no range.
std::optional<std::string_view> FromValueRangeMessage(int fromListSelection, float value);

}  // namespace tavimor
