#include "panels/pressure_panel.h"

namespace tavimor {

PressurePanel::PressurePanel(QWidget* parent) : QWidget(parent) {}

}  // namespace tavimor
