#pragma once

#include <QFrame>
#include <optional>
#include <string_view>

#include "app/app_state.h"

class QButtonGroup;

namespace tavimor {

// ConvCategory as the bar reads it: leading white space skipped, then an optional sign and
// decimal digits; text after the number is ignored. Nothing when no number can be read or
// when it does not fit the 16-bit field.
std::optional<int16_t> ParseCategoryText(std::string_view text);

// The strip across the top of the main window with which the user chooses the category.
// It records the choice in ShellState.SelectedCategory and asks for the panel through the
// queued Show... signals; it never creates panels itself.
class CategoryBar : public QFrame {
  Q_OBJECT

 public:
  CategoryBar(AppState& state, QWidget* parent);

  // What a click on the button with this identifier does (also the restored category).
  void chooseCategory(int id);

 signals:
  void ShowMoisturePanel();
  void ShowTemperaturePanel();
  void ShowPressurePanel();
  void ShowAnalogPanel();
  void ShowGeneratorPanel();

 private:
  void restoreSavedCategory();

  AppState& m_state;
  QButtonGroup* m_group;
};

}  // namespace tavimor
