#include "core/temperature_convert.h"

#include <cmath>
#include <limits>

#include "core/dew_point.h"
#include "core/single_precision.h"

namespace tavimor {

const std::array<TemperatureUnitRow, kTemperatureUnitCount> kTemperatureUnits = {{
    {0, "Celsius", 32.0f, 0.55555f},
    {1, "Fahrenheit", 0.0f, 1.0f},
    {2, "Kelvin", -459.67f, 0.55555f},
    {3, "Rankine", -459.67f, 1.0f},
}};

bool IsTemperatureUnitIndex(int index) {
  return index >= 0 && index < kTemperatureUnitCount;
}

namespace {

// v in the unit as °F, unrounded, in double from the single-precision table.
double ToFahrenheit(double value, const TemperatureUnitRow& unit) {
  return value / static_cast<double>(unit.PerF) + static_cast<double>(unit.OffsetF);
}

double FromFahrenheit(double fahrenheit, const TemperatureUnitRow& unit) {
  return (fahrenheit - static_cast<double>(unit.OffsetF)) * static_cast<double>(unit.PerF);
}

constexpr int kFahrenheit = static_cast<int>(TemperatureUnit::Fahrenheit);

}  // namespace

TemperatureResult ComputeTemperatureResult(double value, int fromUnit, int toUnit) {
  if (!IsTemperatureUnitIndex(fromUnit) || !IsTemperatureUnitIndex(toUnit)) {
    return {std::numeric_limits<float>::quiet_NaN(), false};
  }
  const double fahrenheit = ToFahrenheit(value, kTemperatureUnits[fromUnit]);
  bool show = fromUnit == kFahrenheit && fahrenheit == kBookPaperIgnitionF;
  const float result =
      HoldSingle(RoundToPowerOfTen(FromFahrenheit(fahrenheit, kTemperatureUnits[toUnit]), -2));
  if (toUnit == kFahrenheit && static_cast<double>(result) == kBookPaperIgnitionF) show = true;
  return {result, show};
}

double ReexpressTemperature(double value, int fromUnit, int toUnit) {
  if (!IsTemperatureUnitIndex(fromUnit) || !IsTemperatureUnitIndex(toUnit)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  const double fahrenheit = ToFahrenheit(value, kTemperatureUnits[fromUnit]);
  return RoundToPowerOfTen(FromFahrenheit(fahrenheit, kTemperatureUnits[toUnit]), -2);
}

}  // namespace tavimor
