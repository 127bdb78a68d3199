#include "app/panel_factory.h"

#include <QPointer>

#include "panels/analog_panel.h"
#include "panels/moisture_panel.h"
#include "panels/pressure_panel.h"
#include "panels/temperature_panel.h"

namespace tavimor {
namespace {

PanelHooks HooksFor(QWidget* widget) {
  PanelHooks hooks;
  QPointer<QWidget> guard(widget);
  if (auto* panel = qobject_cast<Panel*>(widget)) {
    QPointer<Panel> p(panel);
    hooks.refresh = [p] {
      if (p) p->refresh();
    };
    hooks.savedSelectionKeys = [p] { return p ? p->savedSelectionKeys() : ProfileKeys{}; };
  } else {
    hooks.refresh = [guard] {
      if (guard) guard->update();
    };
  }
  return hooks;
}

}  // namespace

CreatedPanel CreatePanel(PanelKind kind, AppState& state, QWidget* parent) {
  QWidget* widget = nullptr;
  int templateId = 0;
  switch (kind) {
    case PanelKind::Moisture:
      widget = new MoisturePanel(state.Settings, state.Moisture,
                                 ProfileReaderForFile(state.IniFile), state.Ui, parent);
      templateId = kMoisturePanelTemplate;
      break;
    case PanelKind::Temperature:
      widget = new TemperaturePanel(parent);
      templateId = kTemperaturePanelTemplate;
      break;
    case PanelKind::Pressure:
      widget = new PressurePanel(parent);
      templateId = kPressurePanelTemplate;
      break;
    case PanelKind::Analog:
      widget = new AnalogPanel(parent);
      templateId = kAnalogPanelTemplate;
      break;
    case PanelKind::None:
      break;
  }
  CreatedPanel created;
  if (!widget) return created;
  if (widget->objectName().isEmpty()) widget->setObjectName(QString::number(templateId));
  created.widget = widget;
  created.hooks = HooksFor(widget);
  return created;
}

}  // namespace tavimor
