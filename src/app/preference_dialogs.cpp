#include "app/preference_dialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPushButton>
#include <array>

#include "app/shell_ids.h"
#include "ui/dialog_focus.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"
#include "ui/shell_controls.h"

namespace tavimor {
namespace {

// An option button's identifier is the choice it stands for.
template <class Choice>
constexpr int Id(Choice choice) {
  return static_cast<int>(choice);
}

// The option buttons of a choice's rows, in their order, at their template rectangles.
template <class Choice, std::size_t N, std::size_t Rects>
void AddOptionButtons(QDialog* dialog, QButtonGroup* group,
                      const std::array<ChoiceRow<Choice>, N>& choices,
                      const QRect (&rects)[Rects]) {
  static_assert(Rects == N, "a rectangle for each choice");
  for (std::size_t i = 0; i < N; ++i) {
    MakeOptionButton(dialog, group, Id(choices[i].Value), TextOf(choices[i].ButtonText), rects[i]);
  }
}

void SetUpDialog(QDialog* dialog, int id, const QString& title, int widthDu, int heightDu) {
  dialog->setObjectName(QString::number(id));
  dialog->setWindowTitle(title);
  dialog->setAccessibleName(title);
  dialog->setFont(DialogFont());
  dialog->setFixedSize(DialogRect(0, 0, widthDu, heightDu).size());
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

// Marks the stored choice; a hand-edited number outside the group marks nothing.
void Mark(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

// The chosen identifier; the stored one when nothing is marked.
int Chosen(const QButtonGroup* group, int stored) {
  const int id = group->checkedId();
  return id == -1 ? stored : id;
}

void AddOkCancel(QDialog* dialog, const QRect& cancel, const QRect& ok) {
  // A push button with the focus is the one Enter presses, as on the classic dialogs.
  QPushButton* cancelButton =
      MakePushButton(dialog, kCancelButton, QStringLiteral("Cancel"), cancel);
  cancelButton->setAutoDefault(true);
  QPushButton* okButton = MakePushButton(dialog, kOkButton, QStringLiteral("OK"), ok);
  okButton->setDefault(true);
  QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
  QObject::connect(okButton, &QPushButton::clicked, dialog, &QDialog::accept);
}

}  // namespace

SwvpFormulaDialog::SwvpFormulaDialog(CalcSettings& settings, std::function<void()> settingsChanged,
                                     QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_settingsChanged(std::move(settingsChanged)),
      m_formula(new QButtonGroup(this)),
      m_factor(new QButtonGroup(this)) {
  SetUpDialog(this, kSwvpFormulaDialog,
              QStringLiteral("Saturation Water Vapor Pressure Conversion Formulas"), 311, 161);
  AddOptionButtons(this, m_formula, kSwvpFormulaChoices,
                   {DialogRect(7, 7, 122, 34), DialogRect(7, 45, 122, 34),
                    DialogRect(7, 83, 122, 34), DialogRect(7, 121, 122, 34)});
  AddOptionButtons(
      this, m_factor, kEnhancementFactorChoices,
      {DialogRect(159, 30, 118, 19), DialogRect(159, 55, 117, 19), DialogRect(159, 79, 117, 19)});
  AddOkCancel(this, DialogRect(162, 140, 50, 14), DialogRect(239, 140, 50, 14));
  Mark(m_formula, static_cast<int>(m_settings.SwvpFormula));
  Mark(m_factor, static_cast<int>(m_settings.EnhancementFactor));
  GiveDefaultFocus(this);
}

void SwvpFormulaDialog::accept() {
  m_settings.EnhancementFactor = static_cast<EnhancementFactor>(
      Chosen(m_factor, static_cast<int>(m_settings.EnhancementFactor)));
  m_settings.SwvpFormula =
      static_cast<SwvpFormula>(Chosen(m_formula, static_cast<int>(m_settings.SwvpFormula)));
  if (m_settingsChanged) m_settingsChanged();
  QDialog::accept();
}

GasMethodDialog::GasMethodDialog(CalcSettings& settings, std::function<void()> settingsChanged,
                                 QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_settingsChanged(std::move(settingsChanged)),
      m_method(new QButtonGroup(this)) {
  SetUpDialog(this, kGasMethodDialog,
              QStringLiteral("Method of Computation of water vapor density in Natural Gas"), 319,
              71);
  AddOptionButtons(this, m_method, kGasMethodChoices,
                   {DialogRect(16, 18, 59, 10), DialogRect(16, 38, 59, 10)});
  AddOkCancel(this, DialogRect(243, 16, 50, 14), DialogRect(245, 38, 50, 14));
  Mark(m_method, static_cast<int>(m_settings.GasMethod));
  GiveDefaultFocus(this);
}

void GasMethodDialog::accept() {
  m_settings.GasMethod =
      static_cast<GasMethod>(Chosen(m_method, static_cast<int>(m_settings.GasMethod)));
  if (m_settingsChanged) m_settingsChanged();
  QDialog::accept();
}

}  // namespace tavimor
