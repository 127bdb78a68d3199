#include "panels/temperature_panel.h"

namespace tavimor {

TemperaturePanel::TemperaturePanel(QWidget* parent) : QWidget(parent) {}

}  // namespace tavimor
