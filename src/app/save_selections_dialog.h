#pragma once

#include <QDialog>
#include <QPointer>

#include "app/app_state.h"
#include "store/saved_selections.h"
#include "ui/panel.h"

namespace tavimor {

// What Save Selections writes: ConvCategory alone unless the Moisture/Humidity category is
// chosen and its panel exists, then the panel's keys followed by ConvCategory.
SavedKeys SelectionsToSave(int16_t selectedCategory, const SavedKeys* panelKeys);

// Dialog 144. OK writes the selections into the INI file and reports a failed write in a
// warning box; Cancel, Escape and the close box write nothing.
class SaveSelectionsDialog : public QDialog {
  Q_OBJECT

 public:
  SaveSelectionsDialog(AppState& state, QPointer<Panel> panel, QWidget* parent);

  void accept() override;

 private:
  AppState& m_state;
  QPointer<Panel> m_panel;
};

}  // namespace tavimor
