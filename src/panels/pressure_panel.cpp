#include "panels/pressure_panel.h"

#include "core/number_text.h"
#include "core/pressure_convert.h"
#include "core/unit_tables.h"
#include "panels/pressure_panel_ids.h"
#include "ui/panel_controls.h"

namespace tavimor {

namespace ids = pressure_ids;

namespace {

UnitConverterTemplate PressureTemplate() {
  QStringList names;
  for (const PressureUnitRow& row : kPressureUnits) {
    names << TextOf(row.Name);
  }
  return UnitConverterTemplate{ids::kFromValue,
                               ids::kFromUnit,
                               ids::kResult,
                               ids::kToUnit,
                               names,
                               static_cast<int>(PressureUnit::Psia),
                               static_cast<int>(PressureUnit::Mbar),
                               QSize(373, 141)};
}

}  // namespace

PressurePanel::PressurePanel(QWidget* parent) : UnitConverterPanel(PressureTemplate(), parent) {
  connectNotifications();
}

QString PressurePanel::resultText(double value, int fromUnit, int toUnit) {
  return QString::fromStdString(
      FormatSignificant(ConvertPressureValue(value, fromUnit, toUnit), 7));
}

double PressurePanel::reexpress(double value, int fromUnit, int toUnit) const {
  return ConvertPressureValue(value, fromUnit, toUnit);
}

}  // namespace tavimor
