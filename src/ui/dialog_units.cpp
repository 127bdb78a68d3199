#include "ui/dialog_units.h"

#include <QDialog>
#include <QFontDatabase>

namespace tavimor {

void PlaceDialog(QDialog& dialog, const QWidget& owner, int xDu, int yDu, DialogBaseUnits units) {
  const QPoint at =
      owner.mapToGlobal(QPoint(DialogUnitsToPixelsX(xDu, units), DialogUnitsToPixelsY(yDu, units)));
  dialog.setGeometry(QRect(at, dialog.size()));
}

QFont DialogFont() {
#if defined(Q_OS_LINUX)
  // Liberation Sans at 11 pixels has the 6-pixel average width of the classic dialog font.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
#else
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(8);
#endif
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QFont SystemFont() {
  QFont font = DialogFont();
  font.setPixelSize(13);
  font.setBold(true);
  return font;
}

}  // namespace tavimor
