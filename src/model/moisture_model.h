#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calc_settings.h"
#include "core/graph_inputs.h"
#include "core/moisture_conversion.h"
#include "core/moisture_options.h"
#include "core/unit_tables.h"
#include "model/moisture_ids.h"
#include "model/moisture_panel_state.h"
#include "store/saved_selections.h"

namespace tavimor {

enum class MoistureSide { From, To };

// Where the keyboard focus goes after an event.
enum class MoistureFocus {
  Unchanged,
  Panel,              // the panel itself, so that no field has it
  FromFieldSelected,  // the From field, its whole text selected
  Released,           // no window of the program
};

// What one event of the panel changed. The view writes back, in this order, the field texts
// named (in the order the model wrote them), the lists, the option buttons and caption, and
// the result fields with the graph; then a range warning (beep, message box, the From field
// focused with its text selected); then the focus.
struct MoistureChanges {
  std::vector<MoistureControl> Fields;  // From, measured and compute-at fields
  bool Lists = false;                   // selections and entry texts of the four lists
  bool Choices = false;  // isobar and pressure buttons, caption, enabled compute-at controls
  bool Results = false;  // result and delta texts, and the graph
  std::optional<std::string> Warning;  // the range message, UTF-8
  MoistureFocus Focus = MoistureFocus::Unchanged;

  void addField(MoistureControl field);
  void merge(const MoistureChanges& later);
};

// A parameter dialog run for one side by the label and dialog pass: it starts from the
// side's values and the label suffix its kind of dialog last left, and gives back the values
// to store (only its own fields differ) and the suffix to show.
struct ParameterDialogRequest {
  MoistureUnit Unit = MoistureUnit::PpmwGas;
  MoistureSide Side = MoistureSide::From;
  SideParams Params;
  std::string LabelSuffix;
};
struct ParameterDialogAnswer {
  SideParams Params;
  std::string LabelSuffix;
};
using ParameterDialogRunner = std::function<ParameterDialogAnswer(const ParameterDialogRequest&)>;

// A list of values converted as if each line were typed into the From field.
struct ClipboardListConversion {
  std::optional<std::string> Refusal;  // the list is too long: say so, convert nothing
  std::string Output;                  // each result followed by a line feed
  // What the lines after the last range warning changed: the fields keep the last line's
  // value and result.
  MoistureChanges Changes;
};

// Called at each line outside the From unit's range, before the next line is converted,
// with what the lines changed since the previous call and the line's warning: the view
// writes them back and shows the warning while the line is on screen.
using ClipboardLineWarning = std::function<void(const MoistureChanges& changes)>;

// The Moisture/Humidity panel without widgets: the texts of its fields, the selections of
// its lists, its option buttons and results, and every event that changes them. The panel
// forwards each widget event here and writes back what changed; the clipboard list runs the
// same path line by line. CalcSettings and MoisturePanelState are the process-wide records
// it works on.
class MoistureModel {
 public:
  MoistureModel(CalcSettings& settings, MoisturePanelState& state);

  // The fields' texts and the results, UTF-8.
  const std::string& text(MoistureControl field) const;
  int listSelection(MoistureControl list) const;  // -1: no selection
  // The entry of a unit list: its base text, or with the choice of its parameter dialog.
  const std::string& unitEntry(MoistureSide side, int unit) const;
  int isobarChoice() const { return m_isobar; }  // checked button, -1 for none
  int pressureChoice() const { return m_pressureChoice; }
  bool computeAtEnabled() const { return m_computeAtEnabled; }
  const std::string& isobarCaption() const { return m_isobarCaption; }
  const CalcSettings& settings() const { return m_settings; }
  // How far the choice of formula and enhancement factor moves the result (SpreadLine),
  // UTF-8; recomputed with the result.
  const std::string& spreadLine() const { return m_spreadLine; }
  const MoisturePanelState& state() const { return m_state; }

  // What the graph paints from.
  GraphInputs graphInputs() const;
  // What Save Selections writes for the panel.
  PanelSelectionTexts selectionTexts() const;

  // Fills the fields, lists, options and CalcSettings from the saved selections. The isobar
  // caption is left to the isobar command the view queues after creation.
  MoistureChanges load(const ProfileReader& read);
  // The first recomputation, once the panel exists.
  MoistureChanges start();

  // Any notification of an edit field, with its current text (typed, or on a focus change).
  MoistureChanges fromFieldNotified(std::string_view text);
  MoistureChanges incrementFieldNotified(std::string_view text);
  MoistureChanges measuredFieldNotified(std::string_view text);
  MoistureChanges computeAtFieldNotified(std::string_view text);

  // The user picked an entry of a list (even the selected one).
  MoistureChanges fromUnitPicked(int index, const ParameterDialogRunner& runDialog);
  MoistureChanges toUnitPicked(int index, const ParameterDialogRunner& runDialog);
  MoistureChanges measuredUnitPicked(int index);
  MoistureChanges computeAtUnitPicked(int index);

  // An isobar or pressure option button was clicked (it is then the checked one).
  MoistureChanges isobarClicked(int button);
  MoistureChanges pressureChoiceClicked(int button);

  MoistureChanges setZoomHeld(bool held);
  // CalcSettings changed elsewhere (a preference dialog).
  MoistureChanges settingsChanged();

  ClipboardListConversion convertClipboardList(std::string_view text,
                                               const ClipboardLineWarning& warnAtLine);

 private:
  std::string& field(MoistureControl id);
  MoistureChanges recomputed(MoistureChanges changes);
  MoistureInputs inputs() const;
  void recompute();
  void recomputeResult();
  void recomputeSpread();
  // The range check of the From field; a value outside: "enter new val" and the warning.
  void validateFromValue(MoistureChanges& changes);
  void setFromText(std::string text, MoistureChanges& changes);
  void labelAndDialogPass(MoistureSide side, int selected, const ParameterDialogRunner& run);
  MoistureChanges pressureUnitPicked(MoistureControl field, MoistureControl list, int index,
                                     int32_t& stateUnit);

  CalcSettings& m_settings;
  MoisturePanelState& m_state;

  std::string m_fromText;
  std::string m_incrementText;
  std::string m_measuredText;
  std::string m_computeText;
  std::string m_resultText;
  std::string m_deltaText;
  bool m_resultValid = false;
  std::string m_spreadLine;
  int m_fromList = -1;
  int m_toList = -1;
  int m_measuredList = -1;
  int m_computeList = -1;
  std::array<std::array<std::string, kMoistureUnitCount>, 2> m_entries;
  int m_isobar = -1;
  int m_pressureChoice = -1;
  bool m_computeAtEnabled = true;
  std::string m_isobarCaption;
  // The label suffix each kind of parameter dialog last left, shared by both lists.
  std::string m_gasSuffix;
  std::string m_liquidSuffix;
  std::string m_mediumSuffix;
  std::string m_ambientSuffix;
};

// The caption of the isobar choice in field 1049.
std::string_view IsobarCaption(int button);

}  // namespace tavimor
