#pragma once

#include "panels/unit_converter_panel.h"

class QLabel;

namespace tavimor {

// The temperature category (template 133): one temperature between Celsius, Fahrenheit,
// Kelvin and Rankine, with a sentence shown when the temperature is exactly 451 °F.
class TemperaturePanel : public UnitConverterPanel {
  Q_OBJECT

 public:
  explicit TemperaturePanel(QWidget* parent = nullptr);

 protected:
  QString resultText(double value, int fromUnit, int toUnit) override;
  double reexpress(double value, int fromUnit, int toUnit) const override;

 private:
  QLabel* m_sentence = nullptr;
};

}  // namespace tavimor
