#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

// White space as C's isspace sees it in the "C" locale: what ReadNumber skips.
constexpr bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a number the way every edit field is read: at most the first 14 characters, leading
// white space skipped, then the longest prefix of sign, digits, point, digits and exponent.
// Text without such a prefix reads as 0. Independent of the C locale.
double ReadNumber(std::string_view text);

// True when ReadNumber finds a numeric prefix in the text; text without one is not a number
// for the command and the table conversion, although a field reads it as 0.
bool ReadsAsNumber(std::string_view text);

// ReadNumber's value when ReadsAsNumber holds, else nothing; the text is scanned once.
std::optional<double> ReadNumberIfAny(std::string_view text);

// The scanner behind ReadNumber, on the whole text: after leading white space, the longest
// prefix of sign, digits, point, digits and exponent (an exponent without digits is no part
// of it); its value (beyond the double range: infinite or zero) and the index just after it.
struct NumberPrefix {
  double Value;
  std::size_t End;
};
std::optional<NumberPrefix> ScanNumberPrefix(std::string_view text);

// The number with n significant digits (1 <= n <= 17): fixed notation when the decimal
// point falls within the digits, else exponent notation with at least three exponent
// digits; trailing zeros of the fraction removed, the point kept ("20.", "1.45038e-002").
std::string FormatSignificant(double value, int n);

// All 17 significant digits of a value held in single precision, in the shorter of fixed and
// exponent notation (C's "%.17g"), independent of the locale.
std::string FormatAllDigits(float value);
// The same for a double: 17 significant digits read back to the same double.
std::string FormatAllDigits(double value);

// C's "%.Nf": correctly rounded, ties of the binary value to even, locale independent.
std::string FormatFixed(double value, int decimals);

// FormatFixed of a value held in single precision, appended to out: the same text, found
// with integer arithmetic where it can be.
void AppendFixed(std::string& out, float value, int decimals);

// C's "%W.Nf": FormatFixed padded on the left with blanks to at least width characters.
std::string FormatFixedWidth(double value, int width, int decimals);

}  // namespace tavimor
