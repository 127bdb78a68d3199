#include "core/moisture_format.h"

#include "core/number_text.h"

namespace tavimor {

namespace {

// Decimals by size for the amount units: the large thresholds are compared in single
// precision, the small ones after widening to double.
int AmountDecimals(float v) {
  if (v > 1000.0f) return 1;
  if (v > 100.0f) return 1;
  if (v > 10.0f) return 2;
  if (v > 1.0f) return 3;
  const double wide = v;
  if (wide > 0.1) return 4;
  if (wide > 0.01) return 5;
  if (wide > 0.001) return 6;
  if (wide > 0.0001) return 7;
  return 8;
}

}  // namespace

std::string FormatMoistureValue(MoistureUnit unit, float value) {
  std::string text;
  AppendMoistureValue(text, unit, value);
  return text;
}

void AppendMoistureValue(std::string& out, MoistureUnit unit, float value) {
  int decimals;
  switch (unit) {
    case MoistureUnit::DewFrostPointC:
    case MoistureUnit::DewFrostPointF:
    case MoistureUnit::DewPointC:
    case MoistureUnit::DewPointF:
      decimals = 1;
      break;
    case MoistureUnit::RelHumidity:
      decimals = 2;
      break;
    default:
      decimals = AmountDecimals(value);
      break;
  }
  const std::size_t start = out.size();
  AppendFixed(out, value, decimals);
  // A run of trailing zeros is cut to one; the point and the digit before it stay.
  while (out.size() - start > 3 && out.back() == '0' && out[out.size() - 2] == '0') {
    out.pop_back();
  }
}

}  // namespace tavimor
