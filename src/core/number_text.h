#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// Reads a number the way every edit field is read: at most the first 14 characters, leading
// white space skipped, then the longest prefix of sign, digits, point, digits and exponent.
// Text without such a prefix reads as 0. Independent of the C locale.
double ReadNumber(std::string_view text);

// The number with n significant digits (1 <= n <= 17): fixed notation when the decimal
// point falls within the digits, else exponent notation with at least three exponent
// digits; trailing zeros of the fraction removed, the point kept ("20.", "1.45038e-002").
std::string FormatSignificant(double value, int n);

// C's "%.Nf": correctly rounded, ties of the binary value to even, locale independent.
std::string FormatFixed(double value, int decimals);

// C's "%W.Nf": FormatFixed padded on the left with blanks to at least width characters.
std::string FormatFixedWidth(double value, int width, int decimals);

}  // namespace tavimor
