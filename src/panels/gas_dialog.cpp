#include "panels/gas_dialog.h"

#include <QComboBox>
#include <QKeyEvent>
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

// The molecular-weight field takes typed digits only; pasted text and text the dialog
// writes ("29.") pass, as with the classic digits-only edit field.
class DigitsOnlyFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      const QString text = key->text();
      const bool printable = !text.isEmpty() && text.at(0).isPrint();
      const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
      if (printable && !shortcut && !text.at(0).isDigit()) return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

GasDialog::GasDialog(const GasWorking& working, std::string labelSuffix, QWidget* parent)
    : ParameterDialog(parameter_dialog_ids::kGasDialog,
                      QStringLiteral("Common Gas Molecular Weights"), 262, 65,
                      std::move(labelSuffix), parent),
      m_working(working) {
  m_gasList = AddDropDownList(this, parameter_dialog_ids::kGasList, DialogRect(7, 7, 141, 95),
                              QStringLiteral("Gas"));
  m_molWeight = AddEditField(this, parameter_dialog_ids::kMolWeight, DialogRect(163, 7, 40, 14),
                             QStringLiteral("Molecular weight"));
  m_molWeight->installEventFilter(new DigitsOnlyFilter(m_molWeight));
  AddStaticText(this, 0, QStringLiteral("Molecular Wt."), DialogRect(208, 13, 45, 8));
  QPushButton* ok = addOkButton(166, 34);

  for (const GasEntry& gas : GasTable) {
    m_gasList->addItem(TextOf(gas.ListText));
  }
  std::string suffix;
  OpenGasDialog(m_working, suffix);
  setLabelSuffix(std::move(suffix));
  m_gasList->setCurrentIndex(m_working.GasIndex);
  const bool other = m_working.GasIndex == OtherGasIndex;
  m_molWeight->setEnabled(other);
  if (other) setFieldNumber(m_molWeight, m_working.MolWeight);

  // Every notification of the list, its gaining the focus included, puts the working
  // molecular weight back into the field while "other gas" is chosen.
  OnEveryListNotification(m_gasList, &m_notifications, [this] { onListNotification(); });
  connect(ok, &QPushButton::clicked, this, &GasDialog::onOk);
  GiveDefaultFocus(this);
}

void GasDialog::applyTo(SideParams& side) const {
  ApplyWorking(m_working, side);
}

void GasDialog::onListNotification() {
  const int index = m_gasList->currentIndex();
  if (index < 0) return;
  m_working.GasIndex = static_cast<int16_t>(index);
  if (index == OtherGasIndex) {
    m_molWeight->setEnabled(true);
    setFieldNumber(m_molWeight, m_working.MolWeight);
  } else {
    m_molWeight->setEnabled(false);
  }
}

void GasDialog::onOk() {
  std::string suffix = labelSuffix();
  const bool accepted =
      GasDialogOk(m_working, m_gasList->currentIndex(), fieldNumber(m_molWeight), suffix);
  setLabelSuffix(std::move(suffix));
  if (accepted) done(0);
}

}  // namespace tavimor
