#pragma once

#include <QObject>

#include "ui/panel.h"

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace tavimor {

// The analog output category (template 135): a 4-20 mA loop reading, as a current or as a
// voltage across a resistor, turned back into the instrument's measurement.
class AnalogPanel : public Panel {
  Q_OBJECT

 public:
  explicit AnalogPanel(QWidget* parent = nullptr);

  QSize sizeHint() const override;

 private:
  void onDetectModeClicked(int id);
  void onResistorNotified();
  void computeResult();
  void updateVoltageLabel();
  bool voltageMode() const;

  QLineEdit* m_low = nullptr;
  QLineEdit* m_high = nullptr;
  QButtonGroup* m_detectMode = nullptr;
  QLineEdit* m_resistor = nullptr;
  QLabel* m_resistorLabel = nullptr;
  QLineEdit* m_reading = nullptr;
  QLabel* m_readingUnit = nullptr;
  QLineEdit* m_result = nullptr;
  // Owns the edit fields' notifications, so they end before the controls are destroyed.
  QObject m_notifications;
};

}  // namespace tavimor
