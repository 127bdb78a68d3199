#include "core/std_bridge.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace tavimor {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool StartsWithIgnoringCase(const char* first, const char* last, const char* word) {
  const std::size_t n = std::strlen(word);
  if (static_cast<std::size_t>(last - first) < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if ((first[i] | 0x20) != word[i]) return false;
  }
  return true;
}

// strtod on [first, end), which must be what from_chars would take.
double ReadDouble(const char* first, const char* end) {
  char small[128];
  std::string large;
  const auto n = static_cast<std::size_t>(end - first);
  char* text = small;
  if (n >= sizeof small) {
    large.assign(first, n);
    text = large.data();
  } else {
    std::memcpy(small, first, n);
    small[n] = '\0';
  }
  return std::strtod(text, nullptr);
}

}  // namespace

std::to_chars_result BridgedDoubleToChars(char* first, char* last, double value,
                                          std::chars_format format, int precision) {
  const char* pattern = nullptr;
  switch (format) {
    case std::chars_format::fixed:
      pattern = "%.*f";
      break;
    case std::chars_format::scientific:
      pattern = "%.*e";
      break;
    case std::chars_format::general:
      pattern = "%.*g";
      break;
    default:
      return {first, std::errc::invalid_argument};
  }
  char small[512];
  const int needed = std::snprintf(small, sizeof small, pattern, precision, value);
  if (needed < 0) return {first, std::errc::invalid_argument};
  const auto length = static_cast<std::size_t>(needed);
  if (length > static_cast<std::size_t>(last - first)) return {last, std::errc::value_too_large};
  if (length < sizeof small) {
    std::memcpy(first, small, length);
  } else {
    std::string large(length + 1, '\0');
    std::snprintf(large.data(), large.size(), pattern, precision, value);
    std::memcpy(first, large.data(), length);
  }
  return {first + length, std::errc()};
}

std::from_chars_result BridgedDoubleFromChars(const char* first, const char* last, double& value) {
  // The general format: an optional minus, digits with an optional point (at least one
  // digit), an optional exponent with digits; or inf, infinity, nan.
  const char* p = first;
  if (p < last && *p == '-') ++p;
  const char* mantissa = p;
  bool nonZero = false;
  bool anyDigit = false;
  for (; p < last && IsDigit(*p); ++p) {
    anyDigit = true;
    nonZero = nonZero || *p != '0';
  }
  if (p < last && *p == '.') {
    for (++p; p < last && IsDigit(*p); ++p) {
      anyDigit = true;
      nonZero = nonZero || *p != '0';
    }
  }
  if (!anyDigit) {
    const char* word = mantissa;
    std::size_t length = 0;
    if (StartsWithIgnoringCase(word, last, "infinity")) {
      length = 8;
    } else if (StartsWithIgnoringCase(word, last, "inf") ||
               StartsWithIgnoringCase(word, last, "nan")) {
      length = 3;
    }
    if (length == 0) return {first, std::errc::invalid_argument};
    value = ReadDouble(first, word + length);
    return {word + length, std::errc()};
  }
  if (p < last && (*p == 'e' || *p == 'E')) {
    const char* e = p + 1;
    if (e < last && (*e == '+' || *e == '-')) ++e;
    if (e < last && IsDigit(*e)) {
      while (e < last && IsDigit(*e)) ++e;
      p = e;
    }
  }
  const double read = ReadDouble(first, p);
  if (std::isinf(read) || (read == 0 && nonZero)) return {p, std::errc::result_out_of_range};
  value = read;
  return {p, std::errc()};
}

}  // namespace tavimor
