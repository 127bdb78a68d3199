#pragma once

#include "panels/unit_converter_panel.h"

namespace tavimor {

// The pressure category (template 134): one pressure between mBAR, PSIA, PSIG, ATM and kPa.
class PressurePanel : public UnitConverterPanel {
  Q_OBJECT

 public:
  explicit PressurePanel(QWidget* parent = nullptr);

 protected:
  QString resultText(double value, int fromUnit, int toUnit) override;
  double reexpress(double value, int fromUnit, int toUnit) const override;
};

}  // namespace tavimor
