#pragma once

#include <QObject>
#include <string>

#include "core/calc_settings.h"
#include "model/moisture_panel_state.h"
#include "plot/plot_graph.h"
#include "store/saved_selections.h"
#include "ui/panel.h"
#include "ui/ui_services.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavimor {

// The Moisture/Humidity panel (template 132): the From value with its unit and measured
// pressure converted into the To unit at the compute-at pressure, the incremental analysis,
// the isobar and pressure options, the unit lists with their parameter dialogs, the graph
// area (control 1008) and the clipboard list conversion.
//
// Every handler that may change an input runs inside a repaint batch: the changes it makes
// (and the notifications they raise) ask for a repaint, and the batch recomputes once when
// the outermost handler returns, so the fields hold the new results before control goes back
// to the user.
class MoisturePanel : public Panel {
  Q_OBJECT

 public:
  MoisturePanel(CalcSettings& settings, MoisturePanelState& state, ProfileReader profile,
                UiServices ui, QWidget* parent = nullptr);
  ~MoisturePanel() override;

  QSize sizeHint() const override;

  void refresh() override;
  // The twelve keys of this panel for Save Selections, in writing order.
  ProfileKeys savedSelectionKeys() const override;
  // What Save Selections reads from the panel's controls.
  PanelSelectionTexts selectionTexts() const;

  // Checks the From field against the range of the From list's unit; out of range: beep,
  // "enter new val", the range message, focus back to the From field with its text selected.
  void ValidateFromValue();
  // Converts the From value (and the value plus the increment) into the To unit and writes
  // fields 1009 and 1019.
  void RecomputeResults();
  // Converts each line of the clipboard text as if typed into the From field and puts the
  // results back, one per line.
  void ConvertClipboardList();

  // The graph's place (control 1008). The graph control replaces it with setGraphControl;
  // paintGraph is where the repaint paints it.
  QWidget* graphControl() const { return m_graph; }
  void setGraphControl(QWidget* graph);
  void paintGraph();
  // What the graph reads from the controls at every paint.
  GraphInputs graphInputs() const;

  QAction* convertClipboardAction() const { return m_convertClipboard; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  friend class RepaintBatch;
  enum class Side { From, To };

  void buildControls();
  void fillLists();
  void LoadSavedSelections();
  void connectEvents();

  void requestRepaint();
  void flushRepaint();

  void onFromFieldNotification();
  void onMeasuredFieldNotification();
  void onFromUnitChange(int index);
  void onToUnitChange(int index);
  void onMeasuredPressureUnitChange(int index);
  void onComputePressureUnitChange(int index);
  void onIsobarCommand(int id);
  void onPressureChoice(int id);
  void setZoomHeld(bool held);

  void labelAndDialogPass(Side side, QComboBox* list, int selected);
  std::string runParameterDialog(int unit, Side side);

  CalcSettings& m_settings;
  MoisturePanelState& m_state;
  ProfileReader m_profile;
  UiServices m_ui;

  bool m_initialised = false;
  int m_batchDepth = 0;
  bool m_repaintPending = false;

  // The label suffixes the parameter dialogs last left.
  std::string m_gasLabelSuffix;
  std::string m_liquidLabelSuffix;
  std::string m_ambientLabelSuffix;
  std::string m_mediumLabelSuffix;

  QLineEdit* m_fromValue = nullptr;
  QComboBox* m_fromUnitList = nullptr;
  QLineEdit* m_increment = nullptr;
  QLineEdit* m_delta = nullptr;
  QLineEdit* m_measured = nullptr;
  QComboBox* m_measuredUnitList = nullptr;
  QWidget* m_graph = nullptr;
  QPushButton* m_zoomButton = nullptr;
  QButtonGroup* m_isobars = nullptr;
  QPlainTextEdit* m_isobarCaption = nullptr;
  QButtonGroup* m_pressureChoice = nullptr;
  QLineEdit* m_compute = nullptr;
  QComboBox* m_computeUnitList = nullptr;
  QLineEdit* m_result = nullptr;
  QComboBox* m_toUnitList = nullptr;
  QAction* m_convertClipboard = nullptr;
  // Owns the edit fields' notifications, so they end before the controls are destroyed.
  QObject m_notifications;
};

}  // namespace tavimor
