#pragma once

#include <cstdint>

namespace tavimor {

// The identifier of each category button; the same numbers are saved as ConvCategory.
enum class ConversionCategory : int16_t {
  CategoryMoisture = 1001,     // "Moisture/Humidity"
  CategoryTemperature = 1002,  // "Temperature"
  CategoryPressure = 1003,     // "Pressure"
  CategoryAnalog = 1004,       // "Analog Output"
  CategoryGenerator = 1005,    // "DewPoint Generator", hidden, has no panel
};

// Which panel the main window shows; the numbers follow the panel templates 132 to 135.
enum class PanelKind : int32_t {
  None = 0,
  Moisture = 1,     // template 132
  Temperature = 2,  // template 133
  Pressure = 3,     // template 134
  Analog = 4,       // template 135
};

inline constexpr int kMoisturePanelTemplate = 132;
inline constexpr int kTemperaturePanelTemplate = 133;
inline constexpr int kPressurePanelTemplate = 134;
inline constexpr int kAnalogPanelTemplate = 135;

// The shell's one record for the whole run.
struct ShellState {
  tavimor::PanelKind PanelKind = tavimor::PanelKind::None;
  // Height of the classic system font; the bar and the text strip are 3 of these high.
  uint16_t BaseUnitY = 16;
  // The category button last chosen; a hand-edited file can put any 16-bit number here.
  int16_t SelectedCategory = 0;
};

}  // namespace tavimor
