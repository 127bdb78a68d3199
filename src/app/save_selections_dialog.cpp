#include "app/save_selections_dialog.h"

#include <QPushButton>

#include "app/shell_ids.h"
#include "store/profile_store.h"
#include "ui/dialog_focus.h"
#include "ui/dialog_units.h"
#include "ui/shell_controls.h"

namespace tavimor {

ProfileKeys SelectionsToSave(int16_t selectedCategory,
                             const std::function<ProfileKeys()>& panelKeys) {
  ProfileKeys keys;
  if (selectedCategory == static_cast<int16_t>(ConversionCategory::CategoryMoisture) && panelKeys) {
    keys = panelKeys();
  }
  keys.emplace_back("ConvCategory", std::to_string(selectedCategory));
  return keys;
}

SaveSelectionsDialog::SaveSelectionsDialog(AppState& state, std::function<ProfileKeys()> panelKeys,
                                           QWidget* parent)
    : QDialog(parent), m_state(state), m_panelKeys(std::move(panelKeys)) {
  setObjectName(QString::number(kSaveSelectionsDialog));
  setWindowTitle(QStringLiteral("Save Selections"));
  setAccessibleName(QStringLiteral("Save Selections"));
  setFont(DialogFont());
  setFixedSize(DialogRect(0, 0, 228, 110).size());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  MakeStaticText(this,
                 QStringLiteral("Press OK to save all of the selections made in this conversion "
                                "category , so that the next time the program is started the "
                                "window opens in the same state as it is now, including "
                                "selections of units conversions, values, and conversion "
                                "formulas."),
                 DialogRect(7, 15, 214, 35));
  MakeStaticText(this, QStringLiteral("Press CANCEL to leave the selections as they were."),
                 DialogRect(7, 54, 214, 15));
  QPushButton* cancel =
      MakePushButton(this, kIdCancel, QStringLiteral("Cancel"), DialogRect(35, 76, 50, 14));
  // The first tab stop takes the focus and, being a push button, the Enter key: Enter right
  // after opening cancels.
  cancel->setAutoDefault(true);
  QPushButton* ok = MakePushButton(this, kIdOk, QStringLiteral("OK"), DialogRect(129, 76, 50, 14));
  ok->setDefault(true);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  GiveDefaultFocus(this);
}

void SaveSelectionsDialog::accept() {
  const ProfileKeys keys = SelectionsToSave(m_state.Shell.SelectedCategory, m_panelKeys);
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
