#include "ui/dialog_units.h"

#include <QFontDatabase>

namespace tavimor {

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

}  // namespace tavimor
