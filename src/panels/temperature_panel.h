#pragma once

#include <QObject>

#include "app/panel.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tavimor {

// The temperature category (template 133): one temperature between Celsius, Fahrenheit,
// Kelvin and Rankine, with a sentence shown when the temperature is exactly 451 °F.
class TemperaturePanel : public Panel {
  Q_OBJECT

 public:
  explicit TemperaturePanel(QWidget* parent = nullptr);

  QSize sizeHint() const override;

 private:
  void computeResult(int toUnit);
  void onToUnitSelected(int index);
  void onFromUnitSelected(int index);
  double readFromValue() const;

  // TemperaturePanelState: the units as last acted on, reset at every creation.
  int m_fromUnit = 1;
  int m_toUnit = 0;

  QLineEdit* m_fromValue = nullptr;
  QComboBox* m_fromUnitList = nullptr;
  QLineEdit* m_result = nullptr;
  QComboBox* m_toUnitList = nullptr;
  QLabel* m_sentence = nullptr;
  // Owns the edit field's notifications, so they end before the controls are destroyed.
  QObject m_notifications;
};

}  // namespace tavimor
