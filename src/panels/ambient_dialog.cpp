#include "panels/ambient_dialog.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>

#include "model/parameter_labels.h"
#include "panels/parameter_dialog_ids.h"
#include "ui/dialog_focus.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

namespace {

constexpr int kCelsius = static_cast<int>(AmbientTempUnit::AmbientCelsius);
constexpr int kFahrenheit = static_cast<int>(AmbientTempUnit::AmbientFahrenheit);

}  // namespace

AmbientDialog::AmbientDialog(const AmbientWorking& working, std::string labelSuffix,
                             QWidget* parent)
    : ParameterDialog(parameter_dialog_ids::kAmbientDialog,
                      QStringLiteral("Ambient Temperature for RH calculation"), 211, 71,
                      std::move(labelSuffix), parent),
      m_working(working) {
  AddStaticText(
      this, 0,
      QStringLiteral("Ambient Temperature (dry bulb)\nfor Relative Humidity (RH) calculation"),
      DialogRect(15, 14, 125, 22));
  m_temperature = AddEditField(this, parameter_dialog_ids::kAmbientTemperature,
                               DialogRect(15, 41, 40, 14), QStringLiteral("Ambient temperature"));
  m_units = new QButtonGroup(this);
  const struct {
    int id;
    const char* text;
    int y;
  } units[] = {{kCelsius, "°C", 38}, {kFahrenheit, "°F", 52}};
  for (const auto& u : units) {
    AddOptionButton(this, m_units, u.id, QString::fromUtf8(u.text), DialogRect(70, u.y, 23, 10));
  }
  QPushButton* ok = addOkButton(145, 44);

  const int unit = static_cast<int>(m_working.AmbientTempUnit);
  if (QAbstractButton* button = m_units->button(unit)) button->setChecked(true);
  setFieldNumber(m_temperature, unit == kFahrenheit ? FahrenheitFromCelsius(m_working.AmbientTempC)
                                                    : m_working.AmbientTempC);
  connect(m_units, &QButtonGroup::idClicked, this,
          [this](int id) { m_working.AmbientTempUnit = static_cast<AmbientTempUnit>(id); });
  connect(ok, &QPushButton::clicked, this, &AmbientDialog::onOk);
  GiveDefaultFocus(this);
}

void AmbientDialog::applyTo(SideParams& side) const {
  ApplyWorking(m_working, side);
}

void AmbientDialog::onOk() {
  std::string suffix = labelSuffix();
  if (!AmbientDialogOk(m_working, m_units->checkedId(), fieldNumber(m_temperature), suffix)) {
    return;
  }
  setLabelSuffix(std::move(suffix));
  done(0);
}

}  // namespace tavimor
