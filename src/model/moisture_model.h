#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calc_settings.h"
#include "core/graph_inputs.h"
#include "core/moisture_conversion.h"
#include "core/unit_tables.h"
#include "model/moisture_panel_state.h"
#include "store/moisture_options.h"
#include "store/saved_selections.h"

namespace tavimor {

enum class MoistureSide { From, To };

// The panel's fields whose texts the model holds: four typed, two it writes.
enum class MoistureField {
  From,       // the From value
  Increment,  // the increment of the From value ("delta" beside it)
  Measured,   // the measured pressure
  ComputeAt,  // the compute-at pressure
  Result,     // the From value in the To unit
  Delta,      // the effect of the increment on the result
};
inline constexpr std::size_t kMoistureFieldCount = 6;
static_assert(static_cast<std::size_t>(MoistureField::Delta) + 1 == kMoistureFieldCount);

// The panel's lists whose selections the model holds.
enum class MoistureList { FromUnit, ToUnit, MeasuredUnit, ComputeAtUnit };
inline constexpr std::size_t kMoistureListCount = 4;
static_assert(static_cast<std::size_t>(MoistureList::ComputeAtUnit) + 1 == kMoistureListCount);

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
  std::vector<MoistureField> Fields;  // typed fields the model rewrote
  bool Lists = false;                 // selections and entry texts of the four lists
  bool Choices = false;  // isobar and pressure buttons, caption, enabled compute-at controls
  bool Results = false;  // result and delta texts, and the graph
  std::optional<std::string> Warning;  // the range message, UTF-8
  MoistureFocus Focus = MoistureFocus::Unchanged;

  void addField(MoistureField field);
  void merge(const MoistureChanges& later);
};

// The parameter dialog that picking a unit opens for one side: it starts from the side's
// values and the label suffix its kind of dialog last left. Its answer is the values to
// store (only its own fields differ) and the suffix to show.
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
  const std::string& text(MoistureField field) const { return at(field).Text; }
  int listSelection(MoistureList list) const {  // -1: no selection
    return m_lists[static_cast<std::size_t>(list)];
  }
  // The entry of a unit list: its base text, or with the choice of its parameter dialog.
  const std::string& unitEntry(MoistureSide side, int unit) const;
  IsobarChoice isobarChoice() const { return m_isobar; }
  PressureChoice pressureChoice() const { return m_pressureChoice; }
  bool computeAtEnabled() const { return m_computeAtEnabled; }
  const std::string& isobarCaption() const { return m_isobarCaption; }
  const CalcSettings& settings() const { return m_settings; }
  // How far the choice of formula and enhancement factor moves the result (SpreadLine),
  // UTF-8; recomputed with the result.
  const std::string& spreadLine() const { return m_spreadLine; }

  // What the graph paints from.
  GraphInputs graphInputs() const;
  // The inputs of its conversion, as the fields and lists hold them.
  MoistureInputs inputs() const;
  // What Save Selections writes for the panel.
  PanelSelectionTexts selectionTexts() const;

  // Fills the fields, lists, options and CalcSettings from the saved selections. The isobar
  // caption is left to the isobar command the view queues after creation. A parameter its
  // dialog would refuse loads as its default; refusedKeys, if given, gets the keys that held
  // one (ReadSavedSelections).
  MoistureChanges load(const ProfileReader& read,
                       std::vector<std::string_view>* refusedKeys = nullptr);
  // The first recomputation, once the panel exists.
  MoistureChanges start();

  // Any notification of an edit field, with its current text (typed, or on a focus change).
  MoistureChanges fromFieldNotified(std::string_view text);
  MoistureChanges incrementFieldNotified(std::string_view text);
  MoistureChanges measuredFieldNotified(std::string_view text);
  MoistureChanges computeAtFieldNotified(std::string_view text);

  // The parameter dialog that picking entry index of a unit list opens first, if the unit
  // needs one.
  std::optional<ParameterDialogRequest> parameterDialogFor(MoistureSide side, int index) const;
  // The user picked an entry of a list (even the selected one). For a unit with a parameter
  // the view has run the dialog of parameterDialogFor and passes its answer; without one the
  // side keeps its values and the entry the choice it showed last.
  MoistureChanges fromUnitPicked(int index, const std::optional<ParameterDialogAnswer>& answer);
  MoistureChanges toUnitPicked(int index, const std::optional<ParameterDialogAnswer>& answer);
  MoistureChanges measuredUnitPicked(int index);
  MoistureChanges computeAtUnitPicked(int index);

  // An isobar or pressure option button was clicked (it is then the checked one).
  MoistureChanges isobarClicked(IsobarChoice choice);
  MoistureChanges pressureChoiceClicked(PressureChoice choice);

  MoistureChanges setZoomHeld(bool held);
  // CalcSettings changed elsewhere (a preference dialog).
  MoistureChanges settingsChanged();

  ClipboardListConversion convertClipboardList(std::string_view text,
                                               const ClipboardLineWarning& warnAtLine);

 private:
  // A field's text and its number, read once as every field is read.
  struct FieldText {
    std::string Text;
    double Number = 0;
  };
  const FieldText& at(MoistureField field) const {
    return m_fields[static_cast<std::size_t>(field)];
  }
  void setText(MoistureField field, std::string text);
  void copyText(MoistureField from, MoistureField to);
  // The field's number as the conversion holds it, in single precision.
  float number(MoistureField field) const;
  int& list(MoistureList list) { return m_lists[static_cast<std::size_t>(list)]; }

  MoistureChanges recomputed(MoistureChanges changes);
  void recompute();
  void recomputeResult();
  void recomputeSpread();
  // The range check of the From field; a value outside: "enter new val" and the warning.
  void validateFromValue(MoistureChanges& changes);
  void setFromText(std::string text, MoistureChanges& changes);
  void labelAndDialogPass(MoistureSide side, int selected,
                          const std::optional<ParameterDialogAnswer>& answer);
  MoistureChanges pressureUnitPicked(MoistureField field, MoistureList list, int index,
                                     int32_t& stateUnit);

  CalcSettings& m_settings;
  MoisturePanelState& m_state;

  std::array<FieldText, kMoistureFieldCount> m_fields;
  bool m_resultValid = false;
  std::string m_spreadLine;
  std::array<int, kMoistureListCount> m_lists = {-1, -1, -1, -1};
  std::array<std::array<std::string, kMoistureUnitCount>, 2> m_entries;
  IsobarChoice m_isobar = kIsobarNone;
  PressureChoice m_pressureChoice = kComputeAtPressure;
  bool m_computeAtEnabled = true;
  std::string m_isobarCaption;
  // The label suffix each kind of parameter dialog last left, shared by both lists, in the
  // order of the label and dialog pass.
  static constexpr std::size_t kOptionUnitCount = 4;
  std::array<std::string, kOptionUnitCount> m_suffixes;
};

// The isobars the graph draws for the isobar choice.
GraphIsobars GraphIsobarsOf(IsobarChoice choice);

// The caption of the isobar choice, under the isobar buttons.
std::string_view IsobarCaption(IsobarChoice choice);

}  // namespace tavimor
