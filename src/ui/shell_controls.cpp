#include "ui/shell_controls.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRect>

#include "ui/dialog_units.h"

namespace tavimor {

QString AccessibleText(const QString& text) {
  QString plain = text;
  plain.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  plain.remove(QLatin1Char('&'));
  plain.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  plain.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return plain.simplified();
}

QPushButton* MakePushButton(QWidget* parent, int id, const QString& text, const QRect& rect) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::number(id));
  button->setAccessibleName(AccessibleText(text));
  button->setFont(DialogFont());
  button->setGeometry(rect);
  return button;
}

QPushButton* MakeOptionButton(QWidget* parent, QButtonGroup* group, int id, const QString& text,
                              const QRect& rect) {
  QPushButton* button = MakePushButton(parent, id, text, rect);
  button->setCheckable(true);
  button->setAutoDefault(false);
  group->addButton(button, id);
  return button;
}

}  // namespace tavimor
