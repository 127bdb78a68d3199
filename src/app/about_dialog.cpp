#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <initializer_list>

#include "app/shell_ids.h"
#include "core/version.h"
#include "ui/dialog_units.h"
#include "ui/panel.h"
#include "ui/panel_controls.h"
#include "ui/shell_controls.h"

namespace tavimor {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  // The template names the system font, so the dialog units are that font's.
  const auto rect = [](int x, int y, int width, int height) {
    return DialogRect(x, y, width, height, kSystemFontUnits);
  };
  setObjectName(QString::number(kAboutDialog));
  setWindowTitle(QStringLiteral("About"));
  setAccessibleName(QStringLiteral("About"));
  setFont(SystemFont());
  setFixedSize(rect(0, 0, 230, 75).size());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  auto* icon = new QLabel(this);
  icon->setPixmap(LargeIcon());
  icon->setGeometry(rect(8, 6, 16, 16));
  icon->setAccessibleName(QStringLiteral("Tavimor icon"));

  QLabel* version = AddStaticText(
      this, 0, QStringLiteral("Tavimor version %1").arg(QLatin1String(kTavimorVersion)),
      rect(32, 6, 190, 10));
  version->setObjectName(QStringLiteral("AboutVersion"));
  QLabel* purpose =
      AddStaticText(this, 0,
                    QStringLiteral("Converts moisture and humidity readings between units and "
                                   "pressures, with temperature, pressure and 4-20 mA helpers."),
                    rect(32, 20, 190, 30));
  QPushButton* ok = MakePushButton(this, kOkButton, QStringLiteral("OK"), rect(90, 56, 50, 14));
  // The builders give the controls the panels' font.
  for (QWidget* control : std::initializer_list<QWidget*>{version, purpose, ok}) {
    control->setFont(SystemFont());
  }
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tavimor
