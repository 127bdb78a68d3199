// ReadNumber, FormatSignificant, FormatFixed and FormatMoistureValue on arbitrary bytes and
// arbitrary bit patterns: no crash, bounded output, and every text reads back as the value
// it claims to hold. glibc's correctly rounded printf and strtod are the oracles.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/moisture_format.h"
#include "core/number_text.h"
#include "core/unit_tables.h"
#include "fuzz_check.h"

namespace {

using namespace tavimor;

// Longest texts the formats can produce: sign, 17 digits, point, "e-" and three exponent
// digits; sign, 309 integer digits, point and 60 decimals; a float with 8 decimals.
constexpr std::size_t kMaxSignificantChars = 24;
constexpr std::size_t kMaxFixedChars = 371;
constexpr std::size_t kMaxMoistureChars = 49;

double Strtod(const std::string& text) {
  return std::strtod(text.c_str(), nullptr);
}

std::string Printf(const char* format, int precision, double v) {
  char buffer[512];
  const int n = std::snprintf(buffer, sizeof buffer, format, precision, v);
  return std::string(buffer, static_cast<std::size_t>(n));
}

void CheckReadNumber(std::string_view text) {
  const double v = ReadNumber(text);
  FUZZ_CHECK(!std::isnan(v), "ReadNumber gave NaN");
  // Only the first 14 characters are ever looked at.
  const double head = ReadNumber(text.substr(0, 14));
  FUZZ_CHECK(std::memcmp(&v, &head, sizeof v) == 0, "ReadNumber looked past 14 characters");
}

void CheckSignificant(double v, int n) {
  const std::string text = FormatSignificant(v, n);
  FUZZ_CHECK(text.size() <= kMaxSignificantChars || !std::isfinite(v), "too long: %s",
             text.c_str());
  if (!std::isfinite(v)) return;
  const int digits = n < 1 ? 1 : (n > 17 ? 17 : n);
  // The text holds the value correctly rounded to its digits.
  const std::string oracle = Printf("%.*e", digits - 1, v);
  FUZZ_CHECK(Strtod(text) == Strtod(oracle), "%s is not %s", text.c_str(), oracle.c_str());
  FUZZ_CHECK(text.find_first_not_of("0123456789.+-e") == std::string::npos, "%s", text.c_str());
  // A text that fits a field goes through the field reader as well.
  if (text.size() <= 14) {
    const double read = ReadNumber(text);
    FUZZ_CHECK(read == Strtod(text), "ReadNumber(%s) = %.17g", text.c_str(), read);
  }
}

void CheckFixed(double v, int decimals) {
  const std::string text = FormatFixed(v, decimals);
  FUZZ_CHECK(text.size() <= kMaxFixedChars, "too long (%zu)", text.size());
  const int clamped = decimals < 0 ? 0 : (decimals > 60 ? 60 : decimals);
  const std::string oracle = Printf("%.*f", clamped, v);
  FUZZ_CHECK(text == oracle, "FormatFixed %s, printf %s", text.c_str(), oracle.c_str());
}

void CheckMoisture(int unitIndex, float v) {
  const std::string text = FormatMoistureValue(static_cast<MoistureUnit>(unitIndex), v);
  FUZZ_CHECK(text.size() <= kMaxMoistureChars, "too long: %s", text.c_str());
  if (!std::isfinite(v)) return;
  FUZZ_CHECK(!text.empty() && text.find_first_not_of("0123456789.-") == std::string::npos, "%s",
             text.c_str());
  // At least one decimal is shown, so the text is within half a unit of the first decimal
  // (plus the error of reading that decimal back into binary).
  const double back = Strtod(text);
  const double slack = 0.05 + std::fabs(static_cast<double>(v)) * 4e-16;
  FUZZ_CHECK(std::fabs(back - static_cast<double>(v)) <= slack, "%s for %.9g", text.c_str(),
             static_cast<double>(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckReadNumber(text);
  for (std::size_t i = 0; i < text.size() && i < 32; ++i) CheckReadNumber(text.substr(i));

  // The bytes as bit patterns: a double, a float, a digit count and a unit.
  uint8_t bytes[14] = {};
  std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
  double d;
  float f;
  std::memcpy(&d, bytes, sizeof d);
  std::memcpy(&f, bytes + 8, sizeof f);
  const int n = static_cast<int8_t>(bytes[12]);
  const int unit = static_cast<int8_t>(bytes[13]) % 13;  // a few indices beyond the list too

  for (double v : {d, static_cast<double>(f), ReadNumber(text)}) {
    CheckSignificant(v, n);
    CheckSignificant(v, 6);
    CheckFixed(v, n);
    CheckFixed(v, 1);
  }
  for (float v : {f, static_cast<float>(d == d ? std::fmod(d, 1e30) : d)}) {
    CheckMoisture(unit, v);
  }
  return 0;
}
