#pragma once

namespace tavimor {

// One pair per precision, each with the constants of the values it serves. The moisture units
// in °F (dew/frost point, dew point) convert in double precision with these exact factors;
// the parameter dialogs hold their temperatures in single precision and use 1.8 and
// 0.5555556. The temperature panel converts through its own unit table (0.55555 per °F).

inline double FahrenheitFromCelsiusDouble(double tempC) {
  return tempC * 0.2 * 9 + 32;
}
inline double CelsiusFromFahrenheitDouble(double tempF) {
  return (tempF - 32) * 5 * 0.1111111111111111;
}

inline float FahrenheitFromCelsius(float tempC) {
  return tempC * 1.8f + 32.0f;
}
inline float CelsiusFromFahrenheit(float tempF) {
  return (tempF - 32.0f) * 0.5555556f;
}

}  // namespace tavimor
