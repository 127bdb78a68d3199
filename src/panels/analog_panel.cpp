#include "panels/analog_panel.h"

namespace tavimor {

AnalogPanel::AnalogPanel(QWidget* parent) : QWidget(parent) {}

}  // namespace tavimor
