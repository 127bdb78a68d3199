#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

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
  // Sends every notification of a field to the model: a changed text, unless the panel
  // itself is writing the field, and a focus change with the text the field holds.
  void onFieldNotifications(MoistureField field,
                            std::function<MoistureChanges(std::string_view text)> notified);

  void apply(const MoistureChanges& changes);
  void showWarning(const std::string& message);
  void writeLists();
  void writeChoices();
  void writeResults();
  QLineEdit* field(MoistureField id) const { return m_fields[static_cast<std::size_t>(id)]; }
  QComboBox* list(MoistureList id) const { return m_lists[static_cast<std::size_t>(id)]; }
  // Runs the parameter dialog a pick opens, if any, and gives back its answer.
  std::optional<ParameterDialogAnswer> runParameterDialog(
      const std::optional<ParameterDialogRequest>& request);

  MoistureModel m_model;
  UiServices m_ui;
  // True while the panel writes model texts into its fields: those are no user's edits.
  bool m_writingBack = false;

  // The model's fields and lists, each at the place of its enumerator.
  std::array<QLineEdit*, kMoistureFieldCount> m_fields{};
  std::array<QComboBox*, kMoistureListCount> m_lists{};
  MoistureGraphControl* m_graph = nullptr;
  QPushButton* m_zoomButton = nullptr;
  QButtonGroup* m_isobars = nullptr;
  QPlainTextEdit* m_isobarCaption = nullptr;
  QButtonGroup* m_pressureChoice = nullptr;
  QAction* m_convertClipboard = nullptr;
  // Owns the edit fields' notifications, so they end before the controls are destroyed.
  QObject m_notifications;
};

}  // namespace tavimor
