#pragma once

#include <QFont>
#include <QRect>

class QDialog;
class QWidget;

namespace tavimor {

// The pixels of 4 horizontal and 8 vertical dialog units: a template's font sets its units.
struct DialogBaseUnits {
  int X;
  int Y;
};

// Dialog templates are laid out with the fixed base units of their fonts, so geometry never
// depends on the installed fonts: the classic 8 pt dialog font (6 x 13 pixels) for the
// panels and almost every dialog, the 8 pt system font (8 x 16) for the About box.
inline constexpr DialogBaseUnits kDialogFontUnits{6, 13};
inline constexpr DialogBaseUnits kSystemFontUnits{8, 16};
inline constexpr int kDialogBaseUnitX = kDialogFontUnits.X;
inline constexpr int kDialogBaseUnitY = kDialogFontUnits.Y;

// Win32 MulDiv: a * b / c rounded half away from zero.
constexpr int MulDivRound(int a, int b, int c) {
  const long long p = static_cast<long long>(a) * b;
  const long long q = (p >= 0) == (c >= 0) ? (2 * p + c) / (2 * c) : (2 * p - c) / (2 * c);
  return static_cast<int>(q);
}

constexpr int DialogUnitsToPixelsX(int du, DialogBaseUnits units = kDialogFontUnits) {
  return MulDivRound(du, units.X, 4);
}
constexpr int DialogUnitsToPixelsY(int du, DialogBaseUnits units = kDialogFontUnits) {
  return MulDivRound(du, units.Y, 8);
}

// A template rectangle (x, y, width, height in dialog units) in pixels; each value mapped
// on its own, as the dialog manager does.
constexpr QRect DialogRect(int x, int y, int width, int height,
                           DialogBaseUnits units = kDialogFontUnits) {
  return QRect(DialogUnitsToPixelsX(x, units), DialogUnitsToPixelsY(y, units),
               DialogUnitsToPixelsX(width, units), DialogUnitsToPixelsY(height, units));
}

// A modal dialog where its template puts it: its client area at (x, y) dialog units of its
// own font from the owner's client area, rather than centred over the owner.
void PlaceDialog(QDialog& dialog, const QWidget& owner, int xDu, int yDu,
                 DialogBaseUnits units = kDialogFontUnits);

// The font of every panel and dialog: a sans-serif face of about 6 x 13 pixels.
QFont DialogFont();

// The stand-in for the classic system font (bold, in lines of 16 pixels): the text strip
// and the About box.
QFont SystemFont();

}  // namespace tavimor
