#include "core/pressure_convert.h"

#include <limits>

#include "core/dew_point.h"
#include "core/unit_tables.h"

namespace tavimor {

double ConvertPressureValue(double value, int fromUnit, int toUnit) {
  if (!IsPressureUnitIndex(fromUnit) || !IsPressureUnitIndex(toUnit)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  const PressureUnitRow& from = kPressureUnits[static_cast<size_t>(fromUnit)];
  const PressureUnitRow& to = kPressureUnits[static_cast<size_t>(toUnit)];
  const double mbar = RoundToPowerOfTen(
      value / static_cast<double>(from.PerMbar) + static_cast<double>(from.OffsetMbar), -2);
  return RoundToPowerOfTen(
      (mbar - static_cast<double>(to.OffsetMbar)) * static_cast<double>(to.PerMbar), -3);
}

}  // namespace tavimor
