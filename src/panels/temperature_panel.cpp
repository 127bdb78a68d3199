#include "panels/temperature_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/dialog_units.h"
#include "panels/panel_controls.h"
#include "panels/temperature_panel_ids.h"
#include "physics/number_text.h"
#include "physics/temperature_convert.h"

namespace tavimor {

namespace ids = temperature_ids;

namespace {

constexpr int kSignificantDigits = 7;

const char kSentence[] =
    "\"Fahrenheit four five one is the temperature at which book paper catches fire and starts "
    "to burn.\"";

}  // namespace

TemperaturePanel::TemperaturePanel(QWidget* parent) : Panel(parent) {
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
  m_sentence = AddStaticText(this, ids::kSentence, QString::fromLatin1(kSentence),
                             DialogRect(25, 122, 304, 8));
  m_sentence->hide();

  for (const TemperatureUnitRow& row : kTemperatureUnits) {
    const QString name = QString::fromUtf8(row.Name.data(), static_cast<int>(row.Name.size()));
    m_fromUnitList->addItem(name);
    m_toUnitList->addItem(name);
  }
  m_fromUnit = static_cast<int>(TemperatureUnit::Fahrenheit);
  m_toUnit = static_cast<int>(TemperatureUnit::Celsius);
  m_fromUnitList->setCurrentIndex(m_fromUnit);
  m_toUnitList->setCurrentIndex(m_toUnit);

  // Connected after the initial selection: creation computes nothing.
  OnEveryEditNotification(m_fromValue, &m_notifications, [this] { computeResult(m_toUnit); });
  connect(m_toUnitList, &QComboBox::currentIndexChanged, this, &TemperaturePanel::onToUnitSelected);
  connect(m_fromUnitList, &QComboBox::currentIndexChanged, this,
          &TemperaturePanel::onFromUnitSelected);
}

QSize TemperaturePanel::sizeHint() const {
  return DialogRect(0, 0, 374, 161).size();
}

double TemperaturePanel::readFromValue() const {
  return ReadNumber(m_fromValue->text().toStdString());
}

void TemperaturePanel::computeResult(int toUnit) {
  const TemperatureResult result = ComputeTemperatureResult(readFromValue(), m_fromUnit, toUnit);
  m_toUnit = toUnit;
  m_result->setText(QString::fromStdString(
      FormatSignificant(static_cast<double>(result.Value), kSignificantDigits)));
  m_sentence->setVisible(result.ShowSentence);
}

void TemperaturePanel::onToUnitSelected(int index) {
  if (index == m_toUnit || !IsTemperatureUnitIndex(index)) return;
  computeResult(index);
}

void TemperaturePanel::onFromUnitSelected(int index) {
  if (index == m_fromUnit || !IsTemperatureUnitIndex(index)) return;
  const double value = ReexpressTemperature(readFromValue(), m_fromUnit, index);
  m_fromUnit = index;
  const QString text = QString::fromStdString(FormatSignificant(value, kSignificantDigits));
  // Setting a field's text notifies even when the text stays the same ("-40." Celsius to
  // Fahrenheit); QLineEdit does not, so the result is recomputed here.
  if (text == m_fromValue->text()) {
    computeResult(m_toUnit);
  } else {
    m_fromValue->setText(text);
  }
}

}  // namespace tavimor
