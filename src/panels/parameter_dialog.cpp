#include "panels/parameter_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "core/number_text.h"
#include "core/single_precision.h"
#include "model/parameter_dialogs.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

ParameterDialog::ParameterDialog(int templateId, const QString& title, int widthDu, int heightDu,
                                 std::string labelSuffix, QWidget* parent)
    : QDialog(parent), m_labelSuffix(std::move(labelSuffix)) {
  setObjectName(QString::number(templateId));
  setWindowTitle(title);
  setFont(DialogFont());
  setFixedSize(DialogRect(0, 0, widthDu, heightDu).size());
  setModal(true);
}

QPushButton* ParameterDialog::addOkButton(int x, int y) {
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  NameControl(ok, kOkButton, QStringLiteral("OK"));
  ok->setGeometry(DialogRect(x, y, 50, 14));
  ok->setDefault(true);
  ok->setAutoDefault(true);
  return ok;
}

float ParameterDialog::fieldNumber(const QLineEdit* field) {
  return HoldSingle(ReadNumber(field->text().toStdString()));
}

void ParameterDialog::setFieldNumber(QLineEdit* field, float value) {
  SetFieldText(field, QString::fromStdString(DialogFieldText(value)));
}

}  // namespace tavimor
