#include "panels/unit_converter_panel.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/number_text.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

UnitConverterPanel::UnitConverterPanel(const UnitConverterTemplate& layout, QWidget* parent)
    : Panel(parent), m_layout(layout), m_fromUnit(layout.FromUnit), m_toUnit(layout.ToUnit) {
  setFont(DialogFont());
  AddDecoration(this, DialogRect(27, 34, 42, 63));
  AddGroupBox(this, QStringLiteral("From:"), DialogRect(96, 17, 189, 41));
  m_fromValue = AddEditField(this, layout.FromValueId, DialogRect(114, 31, 40, 14),
                             QStringLiteral("From value"));
  m_fromUnitList = AddDropDownList(this, layout.FromUnitId, DialogRect(166, 31, 84, 65),
                                   QStringLiteral("From unit"));
  AddGroupBox(this, QStringLiteral("To:"), DialogRect(96, 71, 189, 41));
  m_result = AddEditField(this, layout.ResultId, DialogRect(115, 88, 40, 14),
                          QStringLiteral("To value"), /*readOnly=*/true);
  m_toUnitList = AddDropDownList(this, layout.ToUnitId, DialogRect(168, 88, 84, 65),
                                 QStringLiteral("To unit"));
  m_fromUnitList->addItems(layout.UnitNames);
  m_toUnitList->addItems(layout.UnitNames);
  m_fromUnitList->setCurrentIndex(m_fromUnit);
  m_toUnitList->setCurrentIndex(m_toUnit);
}

void UnitConverterPanel::connectNotifications() {
  OnEveryEditNotification(m_fromValue, &m_notifications, [this] { computeResult(m_toUnit); });
  connect(m_toUnitList, &QComboBox::currentIndexChanged, this,
          &UnitConverterPanel::onToUnitSelected);
  connect(m_fromUnitList, &QComboBox::currentIndexChanged, this,
          &UnitConverterPanel::onFromUnitSelected);
}

QSize UnitConverterPanel::sizeHint() const {
  return DialogRect(0, 0, m_layout.TemplateSize.width(), m_layout.TemplateSize.height()).size();
}

bool UnitConverterPanel::isUnit(int index) const {
  return index >= 0 && index < m_layout.UnitNames.size();
}

double UnitConverterPanel::readFromValue() const {
  return ReadNumber(m_fromValue->text().toStdString());
}

void UnitConverterPanel::computeResult(int toUnit) {
  const QString text = resultText(readFromValue(), m_fromUnit, toUnit);
  m_toUnit = toUnit;
  SetFieldText(m_result, text);
}

void UnitConverterPanel::onToUnitSelected(int index) {
  if (index == m_toUnit || !isUnit(index)) return;
  computeResult(index);
}

void UnitConverterPanel::onFromUnitSelected(int index) {
  if (index == m_fromUnit || !isUnit(index)) return;
  const double value = reexpress(readFromValue(), m_fromUnit, index);
  m_fromUnit = index;
  const QString text = QString::fromStdString(FormatSignificant(value, 7));
  // Setting a field's text notifies even when the text stays the same ("-40." Celsius to
  // Fahrenheit); QLineEdit does not, so the result is recomputed here.
  if (text == m_fromValue->text()) {
    computeResult(m_toUnit);
  } else {
    SetFieldText(m_fromValue, text);
  }
}

}  // namespace tavimor
