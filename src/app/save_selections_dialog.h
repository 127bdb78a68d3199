#pragma once

#include <QDialog>
#include <functional>

#include "app/app_state.h"
#include "ui/panel.h"

namespace tavimor {

// What Save Selections writes: ConvCategory alone unless the Moisture/Humidity category is
// chosen, then the panel's keys followed by ConvCategory.
ProfileKeys SelectionsToSave(int16_t selectedCategory,
                             const std::function<ProfileKeys()>& panelKeys);

// Dialog 144. OK writes the selections into the INI file and reports a failed write in a
// warning box; Cancel, Escape and the close box write nothing.
class SaveSelectionsDialog : public QDialog {
  Q_OBJECT

 public:
  SaveSelectionsDialog(AppState& state, std::function<ProfileKeys()> panelKeys, QWidget* parent);

  void accept() override;

 private:
  AppState& m_state;
  std::function<ProfileKeys()> m_panelKeys;
};

}  // namespace tavimor
