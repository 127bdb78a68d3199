#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "core/std_bridge.h"

namespace tavimor {

namespace {

// An edit field is read through a 14-character buffer.
constexpr std::size_t kFieldReadLength = 14;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Value of a parsed decimal whose conversion overflowed or underflowed.
double OutOfRangeMagnitude(std::string_view intDigits, std::string_view fracDigits,
                           long long exponent) {
  long long position;  // decimal exponent of the first significant digit, plus one
  const auto firstInt = intDigits.find_first_not_of('0');
  if (firstInt != std::string_view::npos) {
    position = static_cast<long long>(intDigits.size() - firstInt);
  } else {
    const auto firstFrac = fracDigits.find_first_not_of('0');
    if (firstFrac == std::string_view::npos) return 0.0;
    position = -static_cast<long long>(firstFrac);
  }
  return position + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The end of the run of digits from i; their value is added to digits, exact while the
// decimal has at most 19 of them.
std::size_t ScanDigits(std::string_view text, std::size_t i, uint64_t& digits) {
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    digits = digits * 10 + static_cast<uint64_t>(text[i] - '0');
  }
  return i;
}

// The value of a decimal of at most 15 digits times a power of ten up to 10^22 either way,
// without from_chars: the digits and the power are both exact doubles, so the one
// correctly rounded product or quotient is the correctly rounded value (Clinger 1990), the
// same bits from_chars gives. Nothing for more digits or a larger power.
std::optional<double> ExactShortDecimal(uint64_t digits, std::size_t count, long long power) {
  constexpr std::size_t kExactDigits = 15;  // 10^15 < 2^53
  constexpr auto kLargestPower = static_cast<long long>(kExactPowersOfTen.size()) - 1;
  if (count > kExactDigits || power < -kLargestPower || power > kLargestPower) {
    return std::nullopt;
  }
  const auto d = static_cast<double>(digits);
  return power < 0 ? d / kExactPowersOfTen[static_cast<std::size_t>(-power)]
                   : d * kExactPowersOfTen[static_cast<std::size_t>(power)];
}

}  // namespace

std::optional<NumberPrefix> ScanNumberPrefix(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  uint64_t digits = 0;
  const std::size_t intStart = i;
  i = ScanDigits(text, i, digits);
  const std::string_view intDigits = text.substr(intStart, i - intStart);
  std::string_view fracDigits;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fracStart = ++i;
    i = ScanDigits(text, i, digits);
    fracDigits = text.substr(fracStart, i - fracStart);
  }
  if (intDigits.empty() && fracDigits.empty()) return std::nullopt;

  // Beyond this an exponent only says "infinite" or "zero"; the cap keeps the sum below
  // from overflowing however many digits a long text holds.
  constexpr long long kExponentCap = 1'000'000'000;
  long long exponent = 0;
  std::string_view exponentText;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      expNegative = text[j] == '-';
      ++j;
    }
    const std::size_t expStart = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > expStart) {
      exponentText = text.substr(expStart, j - expStart);
      for (char c : exponentText) exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
      if (expNegative) exponent = -exponent;
      i = j;
    }
  }

  if (const auto exact = ExactShortDecimal(digits, intDigits.size() + fracDigits.size(),
                                           exponent - static_cast<long long>(fracDigits.size()))) {
    return NumberPrefix{negative ? -*exact : *exact, i};
  }
  std::string canonical;
  canonical.reserve(intDigits.size() + fracDigits.size() + 16);
  canonical.append(intDigits.empty() ? std::string_view("0") : intDigits);
  if (!fracDigits.empty()) canonical.append(".").append(fracDigits);
  if (!exponentText.empty()) canonical.append("e").append(std::to_string(exponent));

  double value = 0.0;
  const auto [end, ec] =
      DoubleFromChars(canonical.data(), canonical.data() + canonical.size(), value);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    value = OutOfRangeMagnitude(intDigits, fracDigits, exponent);
  } else if (ec != std::errc()) {
    value = 0.0;
  }
  return NumberPrefix{negative ? -value : value, i};
}

double ReadNumber(std::string_view text) {
  const auto prefix = ScanNumberPrefix(text.substr(0, std::min(text.size(), kFieldReadLength)));
  return prefix ? prefix->Value : 0.0;
}

bool ReadsAsNumber(std::string_view text) {
  return ReadNumberIfAny(text).has_value();
}

std::optional<double> ReadNumberIfAny(std::string_view text) {
  const auto prefix = ScanNumberPrefix(text.substr(0, std::min(text.size(), kFieldReadLength)));
  if (!prefix) return std::nullopt;
  return prefix->Value;
}

std::string FormatAllDigits(float value) {
  return FormatAllDigits(static_cast<double>(value));
}

std::string FormatAllDigits(double value) {
  std::array<char, 40> buffer{};
  const auto result = DoubleToChars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, 17);
  return std::string(buffer.data(), result.ptr);
}

std::string FormatFixed(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 60);
  char buffer[400];
  const auto [end, ec] =
      DoubleToChars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return std::string();
  return std::string(buffer, end);
}

void AppendFixed(std::string& out, float value, int decimals) {
  // A float's significand (24 bits) times 5^decimals (at most 19 bits for 8 decimals) fits
  // a double's 53 bits, so the scaled value is exact and its rounding to an integer, ties
  // to even, is the rounding of the text.
  constexpr int kExactDecimals = 8;
  const double scaled = decimals >= 0 && decimals <= kExactDecimals
                            ? std::fabs(static_cast<double>(value)) *
                                  kExactPowersOfTen[static_cast<std::size_t>(decimals)]
                            : std::numeric_limits<double>::quiet_NaN();
  if (!(scaled < 1e18)) {
    out += FormatFixed(value, decimals);
    return;
  }
  auto digits = static_cast<uint64_t>(scaled);
  const double fraction = scaled - static_cast<double>(digits);  // exact
  if (fraction > 0.5 || (fraction == 0.5 && digits % 2 == 1)) ++digits;

  std::array<char, 24> text;  // sign, 19 digits, point
  const auto end = text.end();
  auto next = end;
  for (int i = 0; i < decimals; ++i) {
    *--next = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  if (decimals > 0) *--next = '.';
  do {
    *--next = static_cast<char>('0' + digits % 10);
    digits /= 10;
  } while (digits != 0);
  if (std::signbit(value)) *--next = '-';
  out.append(&*next, static_cast<std::size_t>(end - next));
}

std::string FormatFixedWidth(double value, int width, int decimals) {
  std::string text = FormatFixed(value, decimals);
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  }
  return text;
}

namespace {

void TrimFractionZeros(std::string& text) {
  if (text.find('.') == std::string::npos) {
    text.push_back('.');
    return;
  }
  while (text.back() == '0') text.pop_back();
}

}  // namespace

std::string FormatSignificant(double value, int n) {
  n = std::clamp(n, 1, 17);
  if (!std::isfinite(value)) return FormatFixed(value, 0);
  char buffer[64];
  const auto [end, ec] =
      DoubleToChars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, n - 1);
  if (ec != std::errc()) return std::string();
  const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t e = scientific.find('e');
  int exponent = 0;
  std::from_chars(scientific.data() + e + 1 + (scientific[e + 1] == '+' ? 1 : 0),
                  scientific.data() + scientific.size(), exponent);
  const int pointPosition = exponent + 1;

  if (pointPosition >= 0 && pointPosition <= n) {
    std::string text = FormatFixed(value, n - pointPosition);
    TrimFractionZeros(text);
    return text;
  }
  std::string text(scientific.substr(0, e));
  TrimFractionZeros(text);
  const int magnitude = exponent < 0 ? -exponent : exponent;
  std::string digits = std::to_string(magnitude);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  text.push_back('e');
  text.push_back(exponent < 0 ? '-' : '+');
  text.append(digits);
  return text;
}

}  // namespace tavimor
