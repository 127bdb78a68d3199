#pragma once

#include "core/calc_settings.h"
#include "model/parameter_dialogs.h"
#include "panels/parameter_dialog.h"

class QButtonGroup;

namespace tavimor {

// Dialog 142, "Ambient Temperature for RH calculation": the dry bulb of relative humidity.
class AmbientDialog : public ParameterDialog {
  Q_OBJECT

 public:
  AmbientDialog(const AmbientWorking& working, std::string labelSuffix, QWidget* parent = nullptr);

  const AmbientWorking& working() const { return m_working; }
  void applyTo(SideParams& side) const override;

 private:
  void onOk();

  AmbientWorking m_working;
  QButtonGroup* m_units = nullptr;
  QLineEdit* m_temperature = nullptr;
};

}  // namespace tavimor
