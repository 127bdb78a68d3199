#include "panels/temperature_panel.h"

#include <QLabel>

#include "core/number_text.h"
#include "core/temperature_convert.h"
#include "panels/temperature_panel_ids.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

namespace ids = temperature_ids;

namespace {

const char kSentence[] =
    "\"Fahrenheit four five one is the temperature at which book paper catches fire and starts "
    "to burn.\"";

UnitConverterTemplate TemperatureTemplate() {
  QStringList names;
  for (const TemperatureUnitRow& row : kTemperatureUnits) {
    names << TextOf(row.Name);
  }
  return UnitConverterTemplate{ids::kFromValue,
                               ids::kFromUnit,
                               ids::kResult,
                               ids::kToUnit,
                               names,
                               static_cast<int>(TemperatureUnit::Fahrenheit),
                               static_cast<int>(TemperatureUnit::Celsius),
                               QSize(374, 161)};
}

}  // namespace

TemperaturePanel::TemperaturePanel(QWidget* parent)
    : UnitConverterPanel(TemperatureTemplate(), parent) {
  m_sentence = AddStaticText(this, ids::kSentence, QString::fromLatin1(kSentence),
                             DialogRect(25, 122, 304, 8));
  m_sentence->hide();
  connectNotifications();
}

QString TemperaturePanel::resultText(double value, int fromUnit, int toUnit) {
  const TemperatureResult result = ComputeTemperatureResult(value, fromUnit, toUnit);
  m_sentence->setVisible(result.ShowSentence);
  return QString::fromStdString(FormatSignificant(static_cast<double>(result.Value), 7));
}

double TemperaturePanel::reexpress(double value, int fromUnit, int toUnit) const {
  return ReexpressTemperature(value, fromUnit, toUnit);
}

}  // namespace tavimor
