#pragma once

#include <QFont>
#include <QRect>

namespace tavimor {

// Dialog templates are laid out in dialog units with the fixed base units of the classic
// 8 pt dialog font (6 x 13 pixels), so geometry never depends on the installed fonts.
inline constexpr int kDialogBaseUnitX = 6;
inline constexpr int kDialogBaseUnitY = 13;

// Win32 MulDiv: a * b / c rounded half away from zero.
constexpr int MulDivRound(int a, int b, int c) {
  const long long p = static_cast<long long>(a) * b;
  const long long q = (p >= 0) == (c >= 0) ? (2 * p + c) / (2 * c) : (2 * p - c) / (2 * c);
  return static_cast<int>(q);
}

constexpr int DialogUnitsToPixelsX(int du) {
  return MulDivRound(du, kDialogBaseUnitX, 4);
}
constexpr int DialogUnitsToPixelsY(int du) {
  return MulDivRound(du, kDialogBaseUnitY, 8);
}

// A template rectangle (x, y, width, height in dialog units) in pixels; each value mapped
// on its own, as the dialog manager does.
constexpr QRect DialogRect(int x, int y, int width, int height) {
  return QRect(DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(width),
               DialogUnitsToPixelsY(height));
}

// The font of every panel and dialog: a sans-serif face of about 6 x 13 pixels.
QFont DialogFont();

}  // namespace tavimor
