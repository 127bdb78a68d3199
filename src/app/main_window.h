#pragma once

#include <QMainWindow>
#include <QPointer>

#include "app/app_state.h"
#include "app/panel_factory.h"

class QDialog;

namespace tavimor {

class CategoryBar;

// The one top-level window: menu, category bar along the top, the current panel below it
// and a fixed text strip at the bottom, all in a fixed 794 x 420 area below the menu bar.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(AppState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  CategoryBar* categoryBar() const;
  QWidget* currentPanel() const;

  // The menu commands, by identifier (104, 105, 32776, 32777, 32778).
  void runCommand(int command);

 public slots:
  // Queued from the category bar. A request for the shown kind is ignored; otherwise the
  // old panel is destroyed and a fresh one is created. The generator has no panel.
  void ShowMoisturePanel();
  void ShowTemperaturePanel();
  void ShowPressurePanel();
  void ShowAnalogPanel();
  void ShowGeneratorPanel();

 protected:
  bool event(QEvent* event) override;

 private:
  void showPanel(PanelKind kind);
  void placeDialog(QDialog& dialog, int xDu, int yDu) const;
  void layoutChildren();
  void refreshPanel();

  AppState& m_state;
  QWidget* m_client;
  CategoryBar* m_bar;
  QPointer<QWidget> m_panel;
  PanelHooks m_panelHooks;
};

// The three lines of the text strip at the bottom of the main window.
QString TextStrip();

}  // namespace tavimor
