#pragma once

#include <QObject>
#include <string>

#include "core/calc_settings.h"
#include "model/moisture_model.h"
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

class MoistureGraphControl;

// The Moisture/Humidity panel (template 132): a view of MoistureModel. Each widget event goes
// to the model, and the panel writes back what the model says changed: field texts, lists,
// option buttons, results and graph, then a range warning, then the focus. It reads no
// widget to compute.
class MoisturePanel : public Panel {
  Q_OBJECT

 public:
  MoisturePanel(CalcSettings& settings, MoisturePanelState& state, ProfileReader profile,
                UiServices ui, QWidget* parent = nullptr);
  ~MoisturePanel() override;

  QSize sizeHint() const override;

  void refresh() override;
  // The twelve keys of this panel for Save Selections, in writing order.
  SavedKeys savedSelectionKeys() const override;
  // The spread of the result across the formula and enhancement choices.
  QString statusLine() const override;

  const MoistureModel& model() const { return m_model; }

  // Converts each line of the clipboard text as if typed into the From field and puts the
  // results back, one per line.
  void ConvertClipboardList();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void fillLists();
  void connectEvents();
  // Sends a field's notification to the model, unless the panel itself is writing the field.
  void onFieldNotification(MoistureChanges (MoistureModel::*notified)(std::string_view),
                           const QString& text);

  void apply(const MoistureChanges& changes);
  void showWarning(const std::string& message);
  void writeLists();
  void writeChoices();
  void writeResults();
  QLineEdit* field(MoistureControl id) const;
  ParameterDialogAnswer runParameterDialog(const ParameterDialogRequest& request);

  MoistureModel m_model;
  UiServices m_ui;
  // True while the panel writes model texts into its fields: those are no user's edits.
  bool m_writingBack = false;

  QLineEdit* m_fromValue = nullptr;
  QComboBox* m_fromUnitList = nullptr;
  QLineEdit* m_increment = nullptr;
  QLineEdit* m_delta = nullptr;
  QLineEdit* m_measured = nullptr;
  QComboBox* m_measuredUnitList = nullptr;
  MoistureGraphControl* m_graph = nullptr;
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
