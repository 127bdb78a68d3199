#include "app/panel_factory.h"

#include "panels/analog_panel.h"
#include "panels/moisture_panel.h"
#include "panels/pressure_panel.h"
#include "panels/temperature_panel.h"

namespace tavimor {

Panel* CreatePanel(PanelKind kind, AppState& state, QWidget* parent) {
  Panel* panel = nullptr;
  int templateId = 0;
  switch (kind) {
    case PanelKind::Moisture:
      panel = new MoisturePanel(state.Settings, state.Moisture, ProfileReaderForFile(state.IniFile),
                                state.Ui, parent);
      templateId = kMoisturePanelTemplate;
      break;
    case PanelKind::Temperature:
      panel = new TemperaturePanel(parent);
      templateId = kTemperaturePanelTemplate;
      break;
    case PanelKind::Pressure:
      panel = new PressurePanel(parent);
      templateId = kPressurePanelTemplate;
      break;
    case PanelKind::Analog:
      panel = new AnalogPanel(parent);
      templateId = kAnalogPanelTemplate;
      break;
    case PanelKind::None:
      break;
  }
  if (panel && panel->objectName().isEmpty()) panel->setObjectName(QString::number(templateId));
  return panel;
}

}  // namespace tavimor
