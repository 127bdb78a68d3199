#pragma once

#include <filesystem>

#include "app/shell_state.h"
#include "core/calc_settings.h"
#include "model/moisture_panel_state.h"
#include "ui/ui_services.h"

namespace tavimor {

// The process-wide records, owned by main() (or by a test) and passed by reference to the
// main window, which hands them to the panels and dialogs. Not a global, so tests stay apart.
struct AppState {
  CalcSettings Settings;
  MoisturePanelState Moisture;
  ShellState Shell;
  // The INI file holding the saved selections in the section "Tavimor".
  std::filesystem::path IniFile;
  UiServices Ui = DefaultUiServices();
};

}  // namespace tavimor
