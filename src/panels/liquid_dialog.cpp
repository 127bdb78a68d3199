#include "panels/liquid_dialog.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>

#include "core/unit_tables.h"
#include "model/parameter_labels.h"
#include "panels/parameter_dialog_ids.h"
#include "ui/dialog_focus.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

namespace {

constexpr int kCustom = static_cast<int>(LiquidChoice::CustomLiquid);

// Template rectangles of the six liquid buttons, in the order of kLiquidTable.
constexpr int kButtonRects[kLiquidCount][4] = {{13, 7, 88, 10},  {13, 21, 65, 10},
                                               {13, 35, 65, 10}, {13, 49, 132, 10},
                                               {13, 63, 73, 10}, {13, 77, 83, 10}};

}  // namespace

LiquidDialog::LiquidDialog(const LiquidWorking& working, std::string labelSuffix, QWidget* parent)
    : ParameterDialog(
          parameter_dialog_ids::kLiquidDialog,
          QStringLiteral(
              "Henry's Constant (K) used for computation of ppmW of water vapor in a liquid"),
          366, 121, std::move(labelSuffix), parent),
      m_working(working) {
  m_liquids = new QButtonGroup(this);
  for (int i = 0; i < kLiquidCount; ++i) {
    const LiquidEntry& liquid = kLiquidTable[static_cast<std::size_t>(i)];
    const QString text = TextOf(liquid.Text);
    const int* r = kButtonRects[i];
    AddOptionButton(this, m_liquids, static_cast<int>(liquid.Button), text,
                    DialogRect(r[0], r[1], r[2], r[3]));
  }
  m_customK = AddEditField(this, parameter_dialog_ids::kCustomHenryK, DialogRect(101, 75, 55, 14),
                           QStringLiteral("Custom Henry's constant"));
  AddStaticText(this, 0,
                QStringLiteral("Henry's constant (K) has units of:\nppm / partial water vapor "
                               "pressure.\nThe units used in this program are mBar of partial "
                               "water vapor pressure, thus the units of K are ppm/mBar.\nIf you "
                               "have a K in ppm/mmHg to convert to ppm/mBar, multiply it by 0.75."),
                DialogRect(176, 15, 183, 53));
  AddStaticText(
      this, 0,
      QStringLiteral("Note: K is temperature independent for strait chain hydrocarbons only"),
      DialogRect(7, 94, 222, 8));
  QPushButton* ok = addOkButton(309, 90);

  std::string suffix = ParameterDialog::labelSuffix();
  OpenLiquidDialog(m_working, suffix);
  setLabelSuffix(std::move(suffix));
  m_liquids->button(static_cast<int>(m_working.Liquid))->setChecked(true);
  if (m_working.Liquid == LiquidChoice::CustomLiquid) setFieldNumber(m_customK, m_working.HenryK);
  connect(m_liquids, &QButtonGroup::idClicked, this, &LiquidDialog::onLiquidCommand);
  connect(ok, &QPushButton::clicked, this, &LiquidDialog::onOk);
  GiveDefaultFocus(this);
}

void LiquidDialog::applyTo(SideParams& side) const {
  ApplyWorking(m_working, side);
}

void LiquidDialog::onLiquidCommand(int button) {
  std::string suffix = labelSuffix();
  if (!ChooseLiquid(m_working, button, suffix)) return;
  setLabelSuffix(std::move(suffix));
  if (button == kCustom) setFieldNumber(m_customK, m_working.HenryK);
}

void LiquidDialog::onOk() {
  std::string suffix = labelSuffix();
  const bool accepted =
      LiquidDialogOk(m_working, m_liquids->checkedId() == kCustom, fieldNumber(m_customK), suffix);
  setLabelSuffix(std::move(suffix));
  if (accepted) done(0);
}

}  // namespace tavimor
