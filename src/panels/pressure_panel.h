#pragma once

#include <QObject>

#include "app/panel.h"

class QComboBox;
class QLineEdit;

namespace tavimor {

// The pressure category (template 134): one pressure between mBAR, PSIA, PSIG, ATM and kPa.
class PressurePanel : public Panel {
  Q_OBJECT

 public:
  explicit PressurePanel(QWidget* parent = nullptr);

  QSize sizeHint() const override;

 private:
  void computeResult(int toUnit);
  void onToUnitSelected(int index);
  void onFromUnitSelected(int index);
  double readFromValue() const;

  // PressurePanelState: the units as last acted on, reset at every creation.
  int m_fromUnit = 1;
  int m_toUnit = 0;

  QLineEdit* m_fromValue = nullptr;
  QComboBox* m_fromUnitList = nullptr;
  QLineEdit* m_result = nullptr;
  QComboBox* m_toUnitList = nullptr;
  // Owns the edit field's notifications, so they end before the controls are destroyed.
  QObject m_notifications;
};

}  // namespace tavimor
