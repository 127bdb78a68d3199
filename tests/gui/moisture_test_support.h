#pragma once

// A Moisture/Humidity panel in a window beside a button, with recording fakes for the beep,
// the message box and the parameter dialogs, so no modal loop ever runs.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "panel_test_support.h"
#include "panels/moisture_panel.h"
#include "panels/moisture_panel_ids.h"
#include "ui/ui_services.h"

namespace tavimor::test {

inline ProfileReader MapReader(std::map<std::string, std::string> keys) {
  return [keys = std::move(keys)](std::string_view key) {
    const auto it = keys.find(std::string(key));
    return it == keys.end() ? std::string() : it->second;
  };
}

// Clicks the OK button (identifier 1) of a dialog.
inline void ClickOk(QDialog& dialog) {
  if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"))) ok->click();
}

struct MoistureHost {
  CalcSettings settings;
  MoisturePanelState state;
  int beeps = 0;
  QStringList messages;
  QStringList dialogTitles;
  // Called as each message box appears, while the panel shows what it shows then.
  std::function<void(const QString& text)> onMessage;
  // Answers for the next dialogs, in order; a dialog without an answer gets OK clicked.
  std::deque<std::function<void(QDialog&)>> answers;
  std::unique_ptr<QWidget> window;
  QPushButton* outside = nullptr;
  MoisturePanel* panel = nullptr;

  UiServices services() {
    UiServices ui;
    ui.beep = [this] { ++beeps; };
    ui.showInformation = [this](QWidget*, const QString& text) {
      messages << text;
      if (onMessage) onMessage(text);
    };
    ui.showWarning = [this](QWidget*, const QString&, const QString& text) { messages << text; };
    ui.runDialog = [this](QDialog& dialog) {
      dialogTitles << dialog.windowTitle();
      if (answers.empty()) {
        ClickOk(dialog);
      } else {
        auto answer = std::move(answers.front());
        answers.pop_front();
        answer(dialog);
      }
      return dialog.result();
    };
    return ui;
  }

  // Creates (or re-creates) the panel from a profile and settles its queued commands.
  void create(ProfileReader profile = MapReader({})) {
    window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    outside = new QPushButton(QStringLiteral("outside"), window.get());
    panel = new MoisturePanel(settings, state, std::move(profile), services(), window.get());
    layout->addWidget(outside);
    layout->addWidget(panel);
    QCoreApplication::processEvents();
  }

  bool show() {
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return false;
    window->activateWindow();
    outside->setFocus();
    return QTest::qWaitForWindowActive(window.get());
  }

  QLineEdit* field(int id) const { return Control<QLineEdit>(panel, id); }
  QComboBox* list(int id) const { return Control<QComboBox>(panel, id); }
  QString text(int id) const { return field(id)->text(); }

  // Picks a list entry as the user does: one activation, even of the selected entry.
  void pick(int listId, int index) {
    QComboBox* l = list(listId);
    l->setCurrentIndex(index);
    emit l->activated(index);
  }
};

}  // namespace tavimor::test
