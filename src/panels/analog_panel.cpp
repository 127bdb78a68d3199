#include "panels/analog_panel.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "core/analog_output.h"
#include "core/number_text.h"
#include "panels/analog_panel_ids.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

namespace ids = analog_ids;

namespace {

double ReadField(const QLineEdit* field) {
  return ReadNumber(field->text().toStdString());
}

}  // namespace

AnalogPanel::AnalogPanel(QWidget* parent) : Panel(parent) {
  setFont(DialogFont());
  AddDecoration(this, DialogRect(13, 36, 42, 63));
  AddGroupBox(this, QStringLiteral("Setup of Instrument generating the Analog Output"),
              DialogRect(65, 13, 184, 59));
  auto* lowLabel = AddStaticText(this, 0, QStringLiteral("generates 4mA when measuring"),
                                 DialogRect(73, 31, 102, 8));
  m_low = AddEditField(this, ids::kLowValue, DialogRect(183, 30, 30, 14), lowLabel->text());
  lowLabel->setBuddy(m_low);
  auto* highLabel = AddStaticText(this, 0, QStringLiteral("generates 20mA when measuring"),
                                  DialogRect(69, 52, 106, 8));
  m_high = AddEditField(this, ids::kHighValue, DialogRect(183, 48, 30, 14), highLabel->text());
  highLabel->setBuddy(m_high);

  AddGroupBox(this, QStringLiteral("Setup of device that detects the Analog Output"),
              DialogRect(277, 13, 192, 58));
  AddStaticText(this, 0, QStringLiteral("e.g. volt-amp meter"), DialogRect(401, 23, 61, 8));
  m_detectMode = new QButtonGroup(this);
  m_detectMode->setExclusive(true);
  AddOptionButton(this, m_detectMode, ids::kDetectCurrent, QStringLiteral("Detecting Current"),
                  DialogRect(285, 37, 71, 10));
  AddOptionButton(this, m_detectMode, ids::kDetectVoltage,
                  QStringLiteral("Detecting Voltage across"), DialogRect(285, 54, 95, 10));
  m_resistor = AddEditField(this, ids::kResistor, DialogRect(383, 52, 32, 14),
                            QStringLiteral("Ohm resistor"));
  m_resistorLabel = AddStaticText(this, ids::kResistorLabel, QStringLiteral("Ohm resistor"),
                                  DialogRect(419, 56, 40, 8));
  m_resistorLabel->setBuddy(m_resistor);
  m_resistor->setEnabled(false);
  m_resistorLabel->setEnabled(false);

  auto* readingLabel =
      AddStaticText(this, 0, QStringLiteral("Enter Value Detected"), DialogRect(279, 86, 69, 8));
  m_reading = AddEditField(this, ids::kReading, DialogRect(353, 82, 34, 14), readingLabel->text());
  readingLabel->setBuddy(m_reading);
  m_readingUnit =
      AddStaticText(this, ids::kReadingUnit, QStringLiteral("mA"), DialogRect(393, 79, 76, 19));
  m_readingUnit->setAccessibleName(QStringLiteral("Unit of the value detected"));
  auto* resultLabel =
      AddStaticText(this, 0, QStringLiteral("Computed Result"), DialogRect(293, 106, 55, 8));
  m_result = AddEditField(this, ids::kResult, DialogRect(353, 104, 33, 14), resultLabel->text(),
                          /*readOnly=*/true);
  resultLabel->setBuddy(m_result);
  AddStaticText(this, 0, QStringLiteral("Same units as the Instrument producing the Analog Output"),
                DialogRect(391, 102, 69, 28));
  AddStaticText(this, 0,
                QStringLiteral("This conversion category is for computing an instrument's "
                               "measurement transmitted on a 4-20 mA loop."),
                DialogRect(67, 94, 141, 30));

  connect(m_detectMode, &QButtonGroup::idClicked, this, &AnalogPanel::onDetectModeClicked);
  OnEveryEditNotification(m_resistor, &m_notifications, [this] { onResistorNotified(); });
  OnEveryEditNotification(m_reading, &m_notifications, [this] { computeResult(); });

  m_detectMode->button(ids::kDetectCurrent)->setChecked(true);
  SetFieldText(m_low, QStringLiteral("-100"));
  SetFieldText(m_high, QStringLiteral("20"));
  // A change of the resistor field: computes the result once ("Error" with no reading).
  SetFieldText(m_resistor, QStringLiteral("250"));
  // The initialisation is reported as handled: the focus goes to the 4 mA field.
  leaveFocusToPlatform();
}

QSize AnalogPanel::sizeHint() const {
  return DialogRect(0, 0, 475, 144).size();
}

bool AnalogPanel::voltageMode() const {
  return m_detectMode->checkedId() == static_cast<int>(DetectMode::Voltage);
}

void AnalogPanel::onDetectModeClicked(int id) {
  if (id == ids::kDetectCurrent) {
    m_resistor->setEnabled(false);
    m_resistorLabel->setEnabled(false);
    m_readingUnit->setText(QStringLiteral("mA"));
    computeResult();
  } else if (id == ids::kDetectVoltage) {
    m_resistor->setEnabled(true);
    m_resistorLabel->setEnabled(true);
    onResistorNotified();
  }
}

void AnalogPanel::onResistorNotified() {
  if (voltageMode()) updateVoltageLabel();
  computeResult();
}

void AnalogPanel::updateVoltageLabel() {
  m_readingUnit->setText(QString::fromStdString(AnalogVoltageRangeText(ReadField(m_resistor))));
}

void AnalogPanel::computeResult() {
  AnalogReading reading;
  reading.Value = ReadField(m_reading);
  reading.Low = ReadField(m_low);
  reading.High = ReadField(m_high);
  reading.Mode = voltageMode() ? DetectMode::Voltage : DetectMode::Current;
  reading.ResistorOhm = ReadField(m_resistor);
  SetFieldText(m_result, QString::fromStdString(AnalogResultText(reading)));
}

}  // namespace tavimor
