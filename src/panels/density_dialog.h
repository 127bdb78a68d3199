#pragma once

#include "core/calc_settings.h"
#include "panels/parameter_dialog.h"

class QButtonGroup;

namespace tavimor {

// Working copy of dialog 143.
struct DensityWorking {
  tavimor::DensityMedium DensityMedium = tavimor::DensityMedium::NaturalGas;
  tavimor::VaporTempUnit VaporTempUnit = tavimor::VaporTempUnit::VaporCelsius;
  float VaporTempC = 20;  // always °C
};

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
