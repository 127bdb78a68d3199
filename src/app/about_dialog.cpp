#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/shell_ids.h"
#include "core/version.h"
#include "ui/dialog_units.h"
#include "ui/panel.h"
#include "ui/panel_controls.h"
#include "ui/shell_controls.h"

namespace tavimor {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QString::number(kAboutDialog));
  setWindowTitle(QStringLiteral("About"));
  setAccessibleName(QStringLiteral("About"));
  setFont(DialogFont());
  setFixedSize(DialogRect(0, 0, 230, 75).size());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  auto* icon = new QLabel(this);
  icon->setPixmap(LargeIcon());
  icon->setGeometry(DialogRect(10, 10, 21, 20));
  icon->setAccessibleName(QStringLiteral("Tavimor icon"));

  AddStaticText(this, 0, QStringLiteral("Tavimor version %1").arg(QLatin1String(kTavimorVersion)),
                DialogRect(40, 10, 180, 10))
      ->setObjectName(QStringLiteral("AboutVersion"));
  AddStaticText(this, 0,
                QStringLiteral("Converts moisture and humidity readings between units and "
                               "pressures, with temperature, pressure and 4-20 mA helpers."),
                DialogRect(40, 24, 180, 26));
  QPushButton* ok =
      MakePushButton(this, kOkButton, QStringLiteral("OK"), DialogRect(90, 54, 50, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tavimor
