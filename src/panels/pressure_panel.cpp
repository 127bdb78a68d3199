#include "panels/pressure_panel.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/dialog_units.h"
#include "panels/panel_controls.h"
#include "panels/pressure_panel_ids.h"
#include "physics/number_text.h"
#include "physics/pressure_convert.h"
#include "physics/unit_tables.h"

namespace tavimor {

namespace ids = pressure_ids;

namespace {

constexpr int kSignificantDigits = 7;

}  // namespace

PressurePanel::PressurePanel(QWidget* parent) : Panel(parent) {
  setFont(DialogFont());
  AddDecoration(this, DialogRect(27, 34, 42, 63));
  AddGroupBox(this, QStringLiteral("From:"), DialogRect(96, 17, 189, 41));
  m_fromValue = AddEditField(this, ids::kFromValue, DialogRect(114, 31, 40, 14),
                             QStringLiteral("From value"));
  m_fromUnitList = AddDropDownList(this, ids::kFromUnit, DialogRect(166, 31, 84, 65),
                                   QStringLiteral("From unit"));
  AddGroupBox(this, QStringLiteral("To:"), DialogRect(96, 71, 189, 41));
  m_result = AddEditField(this, ids::kResult, DialogRect(115, 88, 40, 14),
                          QStringLiteral("To value"), /*readOnly=*/true);
  m_toUnitList =
      AddDropDownList(this, ids::kToUnit, DialogRect(168, 88, 84, 65), QStringLiteral("To unit"));

  for (const PressureUnitRow& row : kPressureUnits) {
    const QString name = QString::fromUtf8(row.Name.data(), static_cast<int>(row.Name.size()));
    m_fromUnitList->addItem(name);
    m_toUnitList->addItem(name);
  }
  m_fromUnit = static_cast<int>(PressureUnit::Psia);
  m_toUnit = static_cast<int>(PressureUnit::Mbar);
  m_fromUnitList->setCurrentIndex(m_fromUnit);
  m_toUnitList->setCurrentIndex(m_toUnit);

  // Connected after the initial selection: creation computes nothing.
  OnEveryEditNotification(m_fromValue, &m_notifications, [this] { computeResult(m_toUnit); });
  connect(m_toUnitList, &QComboBox::currentIndexChanged, this, &PressurePanel::onToUnitSelected);
  connect(m_fromUnitList, &QComboBox::currentIndexChanged, this,
          &PressurePanel::onFromUnitSelected);
}

QSize PressurePanel::sizeHint() const {
  return DialogRect(0, 0, 373, 141).size();
}

double PressurePanel::readFromValue() const {
  return ReadNumber(m_fromValue->text().toStdString());
}

void PressurePanel::computeResult(int toUnit) {
  const double result = ConvertPressureValue(readFromValue(), m_fromUnit, toUnit);
  m_toUnit = toUnit;
  m_result->setText(QString::fromStdString(FormatSignificant(result, kSignificantDigits)));
}

void PressurePanel::onToUnitSelected(int index) {
  if (index == m_toUnit || !IsPressureUnitIndex(index)) return;
  computeResult(index);
}

void PressurePanel::onFromUnitSelected(int index) {
  if (index == m_fromUnit || !IsPressureUnitIndex(index)) return;
  const double value = ConvertPressureValue(readFromValue(), m_fromUnit, index);
  m_fromUnit = index;
  const QString text = QString::fromStdString(FormatSignificant(value, kSignificantDigits));
  // Setting a field's text notifies even when the text stays the same; QLineEdit does not,
  // so the result is recomputed here.
  if (text == m_fromValue->text()) {
    computeResult(m_toUnit);
  } else {
    m_fromValue->setText(text);
  }
}

}  // namespace tavimor
