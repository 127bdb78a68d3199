#pragma once

#include "core/calc_settings.h"
#include "model/parameter_dialogs.h"
#include "panels/parameter_dialog.h"

class QButtonGroup;

namespace tavimor {

// Dialog 143, "Water Vapor Density Calculation": the medium and temperature of g/m³.
class DensityDialog : public ParameterDialog {
  Q_OBJECT

 public:
  DensityDialog(const DensityWorking& working, std::string labelSuffix, QWidget* parent = nullptr);

  const DensityWorking& working() const { return m_working; }
  void applyTo(SideParams& side) const override;

 private:
  void onMediumCommand(int button);
  void onOk();

  DensityWorking m_working;
  QButtonGroup* m_media = nullptr;
  QButtonGroup* m_units = nullptr;
  QLineEdit* m_temperature = nullptr;
};

}  // namespace tavimor
