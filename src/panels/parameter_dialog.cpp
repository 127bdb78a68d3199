#include "panels/parameter_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/dialog_units.h"
#include "panels/panel_controls.h"
#include "physics/number_text.h"
#include "physics/single_precision.h"

namespace tavimor {

ParameterDialog::ParameterDialog(const QString& title, int widthDu, int heightDu, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(title);
  setFont(DialogFont());
  setFixedSize(DialogRect(0, 0, widthDu, heightDu).size());
  setModal(true);
}

QPushButton* ParameterDialog::addOkButton(int x, int y) {
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  NameControl(ok, 1, QStringLiteral("OK"));
  ok->setGeometry(DialogRect(x, y, 50, 14));
  ok->setDefault(true);
  ok->setAutoDefault(true);
  return ok;
}

float ParameterDialog::fieldNumber(const QLineEdit* field) {
  return HoldSingle(ReadNumber(field->text().toStdString()));
}

void ParameterDialog::setFieldNumber(QLineEdit* field, float value) {
  SetFieldText(field, QString::fromStdString(FormatSignificant(value, 7)));
}

}  // namespace tavimor
