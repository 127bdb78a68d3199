#pragma once

namespace tavimor {

// Menu and accelerator commands of the main window.
inline constexpr int kCmdAbout = 104;
inline constexpr int kCmdExit = 105;
inline constexpr int kCmdWaterVaporPressure = 32776;
inline constexpr int kCmdNaturalGasMethod = 32777;
inline constexpr int kCmdSaveSelections = 32778;

// Dialog templates.
inline constexpr int kAboutDialog = 103;
inline constexpr int kCategoryBarTemplate = 130;
inline constexpr int kSwvpFormulaDialog = 139;
inline constexpr int kGasMethodDialog = 140;
inline constexpr int kSaveSelectionsDialog = 144;

// The area below the menu bar: what a classic 800 x 470 window leaves after frame, caption
// and menu, so the layout is the same under every window manager.
inline constexpr int kClientWidth = 794;
inline constexpr int kClientHeight = 420;

}  // namespace tavimor
