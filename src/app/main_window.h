#pragma once

#include <QMainWindow>
#include <QPointer>

#include "app/app_state.h"
#include "app/panel_factory.h"

namespace tavimor {

class CategoryBar;
class ClientArea;

// The one top-level window: menu, category bar along the top, the current panel below it
// and a fixed text strip at the bottom, all in a fixed 794 x 420 area below the menu bar.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(AppState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The menu commands, by identifier (kCmdAbout ... kCmdSaveSelections).
  void runCommand(int command);

 public slots:
  // Queued from the category bar. A request for the shown kind is ignored; otherwise the
  // old panel is destroyed and a fresh one is created. The generator has no panel, and
  // nothing receives its request.
  void ShowMoisturePanel();
  void ShowTemperaturePanel();
  void ShowPressurePanel();
  void ShowAnalogPanel();

 protected:
  bool event(QEvent* event) override;

 private:
  void showPanel(PanelKind kind);
  void layoutChildren();
  void refreshPanel();
  void showStatusLine();

  AppState& m_state;
  ClientArea* m_client;
  CategoryBar* m_bar;
  QPointer<Panel> m_panel;
};

// The three lines of the text strip at the bottom of the main window, the motto first; a
// panel may show its own second line instead (Panel::statusLine).
QString TextStrip();

}  // namespace tavimor
