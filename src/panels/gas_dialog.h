#pragma once

#include <cstdint>

#include "model/parameter_dialogs.h"
#include "panels/parameter_dialog.h"

class QComboBox;

namespace tavimor {

// Dialog 145, "Common Gas Molecular Weights": the carrier gas of ppm by weight in a gas.
class GasDialog : public ParameterDialog {
  Q_OBJECT

 public:
  GasDialog(const GasWorking& working, std::string labelSuffix, QWidget* parent = nullptr);

  const GasWorking& working() const { return m_working; }
  void applyTo(SideParams& side) const override;

 private:
  void onListNotification();
  void onOk();

  GasWorking m_working;
  QComboBox* m_gasList = nullptr;
  QLineEdit* m_molWeight = nullptr;
  // Owns the list's notifications, so they end before the controls are destroyed.
  QObject m_notifications;
};

}  // namespace tavimor
