#include "panels/density_dialog.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "model/parameter_labels.h"
#include "panels/parameter_dialog_ids.h"
#include "ui/dialog_focus.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

namespace {

constexpr int kNaturalGas = static_cast<int>(DensityMedium::NaturalGas);
constexpr int kCelsius = static_cast<int>(VaporTempUnit::VaporCelsius);
constexpr int kFahrenheit = static_cast<int>(VaporTempUnit::VaporFahrenheit);

QRadioButton* AddOption(QWidget* dialog, QButtonGroup* group, int id, const char* text,
                        const QRect& rect) {
  return AddOptionButton(dialog, group, id, QString::fromUtf8(text), rect);
}

QRadioButton* AddMedium(QWidget* dialog, QButtonGroup* group, DensityMedium medium,
                        const QRect& rect) {
  return AddOptionButton(dialog, group, static_cast<int>(medium),
                         TextOf(ChoiceRowOf(kDensityMediumChoices, medium).ButtonText), rect);
}

}  // namespace

DensityDialog::DensityDialog(const DensityWorking& working, std::string labelSuffix,
                             QWidget* parent)
    : ParameterDialog(parameter_dialog_ids::kDensityDialog,
                      QStringLiteral("Water Vapor Density Calculation"), 227, 111,
                      std::move(labelSuffix), parent),
      m_working(working) {
  AddStaticText(this, 0, QStringLiteral("Choose the media for which the calculation will be done"),
                DialogRect(7, 7, 176, 8));
  m_media = new QButtonGroup(this);
  AddMedium(this, m_media, DensityMedium::NaturalGas, DialogRect(7, 26, 129, 19));
  AddMedium(this, m_media, DensityMedium::PureVapor, DialogRect(7, 49, 119, 17));
  AddMedium(this, m_media, DensityMedium::AirMixture, DialogRect(7, 71, 24, 10));
  AddStaticText(this, 0, QStringLiteral("vapor temperature"), DialogRect(145, 47, 58, 8));
  m_temperature = AddEditField(this, parameter_dialog_ids::kVaporTemperature,
                               DialogRect(145, 59, 40, 14), QStringLiteral("Vapor temperature"));
  m_units = new QButtonGroup(this);
  AddOption(this, m_units, kCelsius, "°C", DialogRect(189, 56, 23, 10));
  AddOption(this, m_units, kFahrenheit, "°F", DialogRect(189, 66, 23, 10));
  QPushButton* ok = addOkButton(149, 87);

  std::string suffix;
  OpenDensityDialog(m_working, suffix);
  setLabelSuffix(std::move(suffix));
  const int unit = static_cast<int>(m_working.VaporTempUnit);
  m_units->button(unit)->setChecked(true);
  setFieldNumber(m_temperature, unit == kFahrenheit ? FahrenheitFromCelsius(m_working.VaporTempC)
                                                    : m_working.VaporTempC);
  m_media->button(static_cast<int>(m_working.DensityMedium))->setChecked(true);

  connect(m_media, &QButtonGroup::idClicked, this, &DensityDialog::onMediumCommand);
  connect(m_units, &QButtonGroup::idClicked, this,
          [this](int id) { m_working.VaporTempUnit = static_cast<VaporTempUnit>(id); });
  connect(ok, &QPushButton::clicked, this, &DensityDialog::onOk);
  // The command of the marked medium, run once as the dialog opens.
  onMediumCommand(static_cast<int>(m_working.DensityMedium));
  GiveDefaultFocus(this);
}

void DensityDialog::applyTo(SideParams& side) const {
  ApplyWorking(m_working, side);
}

void DensityDialog::onMediumCommand(int button) {
  std::string suffix;
  ChooseMedium(m_working, static_cast<DensityMedium>(button), suffix);
  setLabelSuffix(std::move(suffix));
  m_media->button(button)->setChecked(true);
  const bool naturalGas = button == kNaturalGas;
  if (naturalGas) {
    // Standard conditions: 60 °F, or 15.6 °C.
    SetFieldText(m_temperature, m_units->checkedId() == kFahrenheit ? QStringLiteral("60")
                                                                    : QStringLiteral("15.6"));
  }
  m_temperature->setEnabled(!naturalGas);
  m_units->button(kCelsius)->setEnabled(!naturalGas);
  m_units->button(kFahrenheit)->setEnabled(!naturalGas);
}

void DensityDialog::onOk() {
  std::string suffix = labelSuffix();
  if (!DensityDialogOk(m_working, m_units->checkedId() == kFahrenheit, fieldNumber(m_temperature),
                       suffix)) {
    return;
  }
  setLabelSuffix(std::move(suffix));
  done(0);
}

}  // namespace tavimor
