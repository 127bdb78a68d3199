#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace tavimor {

// Everything that would block or make noise goes through here, so tests can count beeps
// and answer message boxes and dialogs without a modal loop.
struct UiServices {
  std::function<void()> beep;
  // Modal information box with one OK button and the platform's default caption.
  std::function<void(QWidget* parent, const QString& text)> showInformation;
  // Modal warning box, e.g. a save that failed.
  std::function<void(QWidget* parent, const QString& title, const QString& text)> showWarning;
  // Runs a dialog modally and returns its result code.
  std::function<int(QDialog& dialog)> runDialog;
};

UiServices DefaultUiServices();

}  // namespace tavimor
