#include "app/save_selections_dialog.h"

#include <QPushButton>

#include "app/shell_ids.h"
#include "store/profile_store.h"
#include "ui/dialog_focus.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"
#include "ui/shell_controls.h"

namespace tavimor {

SavedKeys SelectionsToSave(int16_t selectedCategory, const SavedKeys* panelKeys) {
  SavedKeys keys;
  if (selectedCategory == static_cast<int16_t>(ConversionCategory::CategoryMoisture) && panelKeys) {
    keys = *panelKeys;
  }
  keys.emplace_back("ConvCategory", std::to_string(selectedCategory));
  return keys;
}

SaveSelectionsDialog::SaveSelectionsDialog(AppState& state, QPointer<Panel> panel, QWidget* parent)
    : QDialog(parent), m_state(state), m_panel(std::move(panel)) {
  setObjectName(QString::number(kSaveSelectionsDialog));
  setWindowTitle(QStringLiteral("Save Selections"));
  setAccessibleName(QStringLiteral("Save Selections"));
  setFont(DialogFont());
  setFixedSize(DialogRect(0, 0, 228, 110).size());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  AddStaticText(this, 0,
                QStringLiteral("Press OK to save all of the selections made in this conversion "
                               "category , so that the next time the program is started the "
                               "window opens in the same state as it is now, including "
                               "selections of units conversions, values, and conversion "
                               "formulas."),
                DialogRect(7, 15, 214, 35));
  AddStaticText(this, 0, QStringLiteral("Press CANCEL to leave the selections as they were."),
                DialogRect(7, 54, 214, 15));
  QPushButton* cancel =
      MakePushButton(this, kCancelButton, QStringLiteral("Cancel"), DialogRect(35, 76, 50, 14));
  // The first tab stop takes the focus and, being a push button, the Enter key: Enter right
  // after opening cancels.
  cancel->setAutoDefault(true);
  QPushButton* ok =
      MakePushButton(this, kOkButton, QStringLiteral("OK"), DialogRect(129, 76, 50, 14));
  ok->setDefault(true);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  GiveDefaultFocus(this);
}

void SaveSelectionsDialog::accept() {
  const SavedKeys panelKeys = m_panel ? m_panel->savedSelectionKeys() : SavedKeys{};
  const SavedKeys keys =
      SelectionsToSave(m_state.Shell.SelectedCategory, m_panel ? &panelKeys : nullptr);
  const ProfileWriteResult result = WriteProfileStrings(m_state.IniFile, kProfileSection, keys);
  if (!result.Ok && m_state.Ui.showWarning) {
    // A save that failed silently would look successful.
    m_state.Ui.showWarning(this, QStringLiteral("Save Selections"),
                           QStringLiteral("The selections could not be saved to %1.\n\n%2")
                               .arg(QString::fromStdString(m_state.IniFile.string()),
                                    QString::fromLocal8Bit(result.Error.c_str())));
  }
  QDialog::accept();
}

}  // namespace tavimor
