#pragma once

#include "core/calc_settings.h"
#include "model/parameter_dialogs.h"
#include "panels/parameter_dialog.h"

class QButtonGroup;

namespace tavimor {

// Dialog 141: the liquid of ppm by weight of water in a liquid and its Henry's constant.
class LiquidDialog : public ParameterDialog {
  Q_OBJECT

 public:
  LiquidDialog(const LiquidWorking& working, std::string labelSuffix, QWidget* parent = nullptr);

  const LiquidWorking& working() const { return m_working; }
  void applyTo(SideParams& side) const override;

 private:
  void onLiquidCommand(int button);
  void onOk();

  LiquidWorking m_working;
  QButtonGroup* m_liquids = nullptr;
  QLineEdit* m_customK = nullptr;
};

}  // namespace tavimor
