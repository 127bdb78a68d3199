#pragma once

namespace tavimor {

// The pressure panel's conversion of value from one PressureUnit index to another, in
// double precision: through millibar rounded half up to 0.01 mbar, then rounded half up to
// 0.001 of the target unit. Unlike ReadPressureMbar, nothing is held in single precision
// except the table's factors. An index naming no unit gives NaN.
double ConvertPressureValue(double value, int fromUnit, int toUnit);

}  // namespace tavimor
