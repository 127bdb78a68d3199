#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavimor {

// The four temperature units of the temperature panel, in list order; Fahrenheit is the
// base of every conversion.
enum class TemperatureUnit : int32_t { Celsius = 0, Fahrenheit = 1, Kelvin = 2, Rankine = 3 };
inline constexpr int kTemperatureUnitCount = 4;

struct TemperatureUnitRow {
  int32_t Index;
  std::string_view Name;  // list text
  float OffsetF;          // the unit's zero in °F
  float PerF;             // unit degrees per °F; 0.55555 (not 5/9) in both directions
};
extern const std::array<TemperatureUnitRow, kTemperatureUnitCount> kTemperatureUnits;

bool IsTemperatureUnitIndex(int index);

// The temperature in °F at which the panel shows its sentence about book paper.
inline constexpr double kBookPaperIgnitionF = 451.0;

struct TemperatureResult {
  float Value;        // rounded half up to 0.01 of the To unit, held in single precision
  bool ShowSentence;  // the From or the result temperature is exactly 451 °F
};

// value in fromUnit converted through °F to toUnit. An index naming no unit gives a NaN
// value and no sentence.
TemperatureResult ComputeTemperatureResult(double value, int fromUnit, int toUnit);

// The From field's value re-expressed when its unit changes, rounded half up to 0.01 and
// kept in double precision; NaN for an index naming no unit.
double ReexpressTemperature(double value, int fromUnit, int toUnit);

}  // namespace tavimor
