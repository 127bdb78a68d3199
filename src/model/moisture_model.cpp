#include "model/moisture_model.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/formula_spread.h"
#include "core/moisture_conversion.h"
#include "core/number_text.h"
#include "core/saturation.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "model/clipboard_lines.h"
#include "model/from_value_reexpression.h"
#include "model/parameter_labels.h"
#include "model/spread_line.h"

namespace tavimor {

namespace {

using Field = MoistureField;
using List = MoistureList;

constexpr std::string_view kEnterNewValue = "enter new val";

// A list line longer than this can hold no more number than its first 14 characters; the
// From field is spared a multi-megabyte text.
constexpr std::size_t kClipboardLineMaxChars = 1000;

// Every line may raise the range warning, so a list is converted in a time a user waits
// for; longer lists belong to tavimor-convert.
constexpr std::size_t kClipboardListMaxLines = 100000;

// The result field is read back through the same 14 characters as every field.
constexpr std::size_t kFieldReadChars = 14;

// The option units in the order of the label and dialog pass.
constexpr std::array kOptionUnits = {MoistureUnit::PpmwGas, MoistureUnit::PpmwLiquid,
                                     MoistureUnit::GramsPerM3, MoistureUnit::RelHumidity};

// The place of a unit among the option units, if it is one.
std::optional<std::size_t> OptionSlot(int unit) {
  for (std::size_t slot = 0; slot < kOptionUnits.size(); ++slot) {
    if (static_cast<int>(kOptionUnits[slot]) == unit) return slot;
  }
  return std::nullopt;
}

std::size_t SideIndex(MoistureSide side) {
  return side == MoistureSide::From ? 0 : 1;
}

// The first n characters of UTF-8 text, never cutting a character in two.
std::string_view FirstCharacters(std::string_view text, std::size_t n) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) != 0x80 && chars++ == n) return text.substr(0, i);
  }
  return text;
}

std::size_t CountLines(std::string_view text) {
  const auto feeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  return feeds + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

}  // namespace

GraphIsobars GraphIsobarsOf(IsobarChoice choice) {
  switch (choice) {
    case kIsobarNone:
      return GraphIsobars::None;
    case kIsobarMeasured:
      return GraphIsobars::AtMeasured;
    case kIsobarComputed:
      break;
  }
  // Any other number (a group without a checked button) counts as neither "no isobars" nor
  // "measured".
  return GraphIsobars::AtComputeAt;
}

std::string_view IsobarCaption(IsobarChoice choice) {
  switch (choice) {
    case kIsobarMeasured:
      return "dark green  curves\n2x & 4x measured\npressure selection";
    case kIsobarComputed:
      return "dark green  curves\n2x & 4x computed\npressure selection";
    case kIsobarNone:
      break;
  }
  return " ";
}

void MoistureChanges::addField(MoistureField field) {
  if (std::find(Fields.begin(), Fields.end(), field) == Fields.end()) Fields.push_back(field);
}

void MoistureChanges::merge(const MoistureChanges& later) {
  for (const MoistureField field : later.Fields) addField(field);
  Lists = Lists || later.Lists;
  Choices = Choices || later.Choices;
  Results = Results || later.Results;
  if (later.Warning) Warning = later.Warning;
  if (later.Focus != MoistureFocus::Unchanged) Focus = later.Focus;
}

MoistureModel::MoistureModel(CalcSettings& settings, MoisturePanelState& state)
    : m_settings(settings), m_state(state) {
  static_assert(kOptionUnits.size() == kOptionUnitCount);
  for (auto& entries : m_entries) {
    for (std::size_t unit = 0; unit < entries.size(); ++unit) {
      entries[unit] = std::string(kMoistureUnits[unit].ComboText);
    }
  }
}

void MoistureModel::setText(MoistureField field, std::string text) {
  FieldText& f = m_fields[static_cast<std::size_t>(field)];
  f.Number = ReadNumber(text);
  f.Text = std::move(text);
}

void MoistureModel::copyText(MoistureField from, MoistureField to) {
  m_fields[static_cast<std::size_t>(to)] = at(from);
}

float MoistureModel::number(MoistureField field) const {
  return HoldSingle(at(field).Number);
}

const std::string& MoistureModel::unitEntry(MoistureSide side, int unit) const {
  const auto& entries = m_entries[SideIndex(side)];
  return entries[static_cast<std::size_t>(std::clamp(unit, 0, kMoistureUnitCount - 1))];
}

GraphInputs MoistureModel::graphInputs() const {
  GraphInputs in;
  in.FromValue = at(Field::From).Number;
  in.FromUnit = listSelection(List::FromUnit);
  in.ToUnit = listSelection(List::ToUnit);
  in.MeasuredPressureMbar =
      ReadPressureMbar(number(Field::Measured), listSelection(List::MeasuredUnit));
  in.ComputePressureMbar =
      ReadPressureMbar(number(Field::ComputeAt), listSelection(List::ComputeAtUnit));
  in.Isobars = GraphIsobarsOf(m_isobar);
  in.ZoomHeld = m_state.ZoomHeld;
  in.Settings = m_settings;
  return in;
}

PanelSelectionTexts MoistureModel::selectionTexts() const {
  PanelSelectionTexts texts;
  texts.IsobarChoice = m_isobar;
  texts.PressureChoice = m_pressureChoice;
  texts.FromText = text(Field::From);
  texts.FromListIndex = listSelection(List::FromUnit);
  texts.ToListIndex = listSelection(List::ToUnit);
  texts.MeasuredText = text(Field::Measured);
  texts.MeasuredListIndex = listSelection(List::MeasuredUnit);
  texts.ComputeText = text(Field::ComputeAt);
  texts.ComputeListIndex = listSelection(List::ComputeAtUnit);
  return texts;
}

MoistureChanges MoistureModel::load(const ProfileReader& read,
                                    std::vector<std::string_view>* refusedKeys) {
  // Fields after one that does not parse keep the values of the previous creation.
  PanelSelections saved;
  saved.FromUnit = m_state.FromUnit;
  saved.ToUnit = m_state.ToUnit;
  saved.MeasuredPressureUnit = m_state.MeasuredPressureUnit;
  saved.ComputePressureUnit = m_state.ComputePressureUnit;
  std::vector<std::string_view> refused = ReadSavedSelections(read, saved, m_settings);
  if (refusedKeys) *refusedKeys = std::move(refused);
  m_state.FromBasis = BasisOf(m_settings.From);

  MoistureChanges changes;
  // The From field is written before its list has a selection: no range check here.
  setText(Field::From, FormatSignificant(saved.FromValue, 5));
  m_state.FromUnit = list(List::FromUnit) = saved.FromUnit;
  setText(Field::Measured, FormatSignificant(saved.MeasuredPressure, 6));
  m_state.MeasuredPressureUnit = list(List::MeasuredUnit) = saved.MeasuredPressureUnit;
  m_state.ToUnit = list(List::ToUnit) = saved.ToUnit;
  setText(Field::ComputeAt, FormatSignificant(saved.ComputePressure, 6));
  m_state.ComputePressureUnit = list(List::ComputeAtUnit) = saved.ComputePressureUnit;
  changes.Fields = {Field::From, Field::Measured, Field::ComputeAt};
  changes.Lists = true;

  // The saved choices are members of their sets: the reader takes the default for others.
  m_isobar = static_cast<IsobarChoice>(saved.IsobarChoice);
  m_pressureChoice = static_cast<PressureChoice>(saved.PressureChoice);
  m_computeAtEnabled = m_pressureChoice != kComputeAtMeasured;
  changes.Choices = true;
  return changes;
}

MoistureChanges MoistureModel::start() {
  return recomputed({});
}

MoistureInputs MoistureModel::inputs() const {
  MoistureInputs in;
  in.FromValue = number(Field::From);
  in.Increment = number(Field::Increment);
  in.FromUnit = m_state.FromUnit;
  in.FromListSelection = listSelection(List::FromUnit);
  in.ToListSelection = listSelection(List::ToUnit);
  in.MeasuredPressure = number(Field::Measured);
  in.MeasuredPressureUnit = listSelection(List::MeasuredUnit);
  in.ComputePressure = number(Field::ComputeAt);
  in.ComputePressureUnit = listSelection(List::ComputeAtUnit);
  return in;
}

void MoistureModel::recompute() {
  recomputeResult();
  recomputeSpread();
}

void MoistureModel::recomputeResult() {
  MoistureResults results = ComputeMoistureResults(inputs(), m_settings);
  m_resultValid = results.ResultValid;
  setText(Field::Result, std::move(results.ResultText));
  setText(Field::Delta, std::move(results.DeltaText));
}

void MoistureModel::recomputeSpread() {
  // Where the result field shows no number the line says so, whatever other choices give.
  m_spreadLine = SpreadLine(
      m_resultValid ? ComputeMoistureSpread(inputs(), m_settings) : MoistureSpread{},
      listSelection(List::ToUnit),
      NaturalGasOverride(m_settings, listSelection(List::FromUnit), listSelection(List::ToUnit)));
}

MoistureChanges MoistureModel::recomputed(MoistureChanges changes) {
  recompute();
  changes.Results = true;
  return changes;
}

void MoistureModel::setFromText(std::string text, MoistureChanges& changes) {
  setText(Field::From, std::move(text));
  changes.addField(Field::From);
  // Writing the field notifies the panel, which checks the new text.
  validateFromValue(changes);
}

void MoistureModel::validateFromValue(MoistureChanges& changes) {
  const auto message = FromValueRangeMessage(listSelection(List::FromUnit), number(Field::From));
  if (!message) return;
  // "enter new val" reads as 0, which every range accepts: one warning per bad entry.
  setText(Field::From, std::string(kEnterNewValue));
  changes.addField(Field::From);
  changes.Warning = std::string(*message);
  changes.Focus = MoistureFocus::FromFieldSelected;
}

MoistureChanges MoistureModel::fromFieldNotified(std::string_view text) {
  MoistureChanges changes;
  setText(Field::From, std::string(text));
  validateFromValue(changes);
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::incrementFieldNotified(std::string_view text) {
  setText(Field::Increment, std::string(text));
  return recomputed({});
}

MoistureChanges MoistureModel::computeAtFieldNotified(std::string_view text) {
  setText(Field::ComputeAt, std::string(text));
  return recomputed({});
}

MoistureChanges MoistureModel::measuredFieldNotified(std::string_view text) {
  MoistureChanges changes;
  setText(Field::Measured, std::string(text));
  if (m_pressureChoice == kComputeAtMeasured) {
    copyText(Field::Measured, Field::ComputeAt);
    changes.addField(Field::ComputeAt);
  }
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::pressureUnitPicked(MoistureField field, MoistureList pressureList,
                                                  int index, int32_t& stateUnit) {
  MoistureChanges changes;
  list(pressureList) = index;
  changes.Lists = true;
  if (index != stateUnit && IsPressureUnitIndex(index)) {
    const bool measured = field == Field::Measured;
    if (measured && m_pressureChoice == kComputeAtMeasured) {
      m_state.ComputePressureUnit = list(List::ComputeAtUnit) = index;
    }
    const float mbar = ReadPressureMbar(number(field), stateUnit);
    setText(field, FormatSignificant(PressureFromMbar(mbar, index), 7));
    changes.addField(field);
    // The new measured text is copied into the compute-at field under "compute at measured".
    if (measured && m_pressureChoice == kComputeAtMeasured) {
      copyText(Field::Measured, Field::ComputeAt);
      changes.addField(Field::ComputeAt);
    }
    stateUnit = index;
  }
  changes.Focus = MoistureFocus::Panel;
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::measuredUnitPicked(int index) {
  return pressureUnitPicked(Field::Measured, List::MeasuredUnit, index,
                            m_state.MeasuredPressureUnit);
}

MoistureChanges MoistureModel::computeAtUnitPicked(int index) {
  return pressureUnitPicked(Field::ComputeAt, List::ComputeAtUnit, index,
                            m_state.ComputePressureUnit);
}

MoistureChanges MoistureModel::isobarClicked(IsobarChoice choice) {
  MoistureChanges changes;
  m_isobar = choice;
  m_isobarCaption = std::string(IsobarCaption(choice));
  changes.Choices = true;
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::pressureChoiceClicked(PressureChoice choice) {
  MoistureChanges changes;
  m_pressureChoice = choice;
  changes.Choices = true;
  if (choice == kComputeAtMeasured) {
    m_computeAtEnabled = false;
    m_state.ComputePressureUnit = list(List::ComputeAtUnit) = listSelection(List::MeasuredUnit);
    changes.Lists = true;
    copyText(Field::Measured, Field::ComputeAt);
    changes.addField(Field::ComputeAt);
  } else {
    m_computeAtEnabled = true;
  }
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::setZoomHeld(bool held) {
  if (m_state.ZoomHeld == held) return {};
  m_state.ZoomHeld = held;
  return recomputed({});
}

MoistureChanges MoistureModel::settingsChanged() {
  return recomputed({});
}

std::optional<ParameterDialogRequest> MoistureModel::parameterDialogFor(MoistureSide side,
                                                                        int index) const {
  const auto slot = OptionSlot(index);
  if (!slot) return std::nullopt;
  return ParameterDialogRequest{kOptionUnits[*slot], side,
                                side == MoistureSide::From ? m_settings.From : m_settings.To,
                                m_suffixes[*slot]};
}

void MoistureModel::labelAndDialogPass(MoistureSide side, int selected,
                                       const std::optional<ParameterDialogAnswer>& answer) {
  SideParams& params = side == MoistureSide::From ? m_settings.From : m_settings.To;
  auto& entries = m_entries[SideIndex(side)];
  for (std::size_t slot = 0; slot < kOptionUnits.size(); ++slot) {
    const auto index = static_cast<std::size_t>(kOptionUnits[slot]);
    const std::string_view base = kMoistureUnits[index].ComboText;
    if (static_cast<int>(index) != selected) {
      entries[index] = std::string(base);
      continue;
    }
    if (answer) {
      // The dialog's result code is not consulted: its working values are taken back.
      params = answer->Params;
      m_suffixes[slot] = answer->LabelSuffix;
    }
    entries[index] = EntryTextWithChoice(base, m_suffixes[slot]);
  }
}

MoistureChanges MoistureModel::fromUnitPicked(int index,
                                              const std::optional<ParameterDialogAnswer>& answer) {
  MoistureChanges changes;
  if (!MoistureUnitFromIndex(index)) return changes;
  list(List::FromUnit) = index;
  changes.Lists = true;
  labelAndDialogPass(MoistureSide::From, index, answer);
  if (index == m_state.FromUnit && !OptionSlot(index)) {
    changes.Focus = MoistureFocus::Panel;
    return changes;
  }
  const float measuredMbar =
      ReadPressureMbar(number(Field::Measured), listSelection(List::MeasuredUnit));
  const ReexpressedFromValue reexpressed = ReexpressFromValue(
      number(Field::From), m_state.FromUnit, index, measuredMbar, m_settings, m_state.FromBasis,
      listSelection(List::FromUnit), listSelection(List::ToUnit));
  if (reexpressed.Outcome == ReexpressOutcome::OldUnitFailed) {
    setText(Field::From, std::string(kEnterNewValue));
    changes.addField(Field::From);
    changes.Focus = MoistureFocus::FromFieldSelected;
  } else {
    // The new text is checked against the range of the new unit, already selected.
    setFromText(reexpressed.Text, changes);
    changes.Focus = MoistureFocus::Released;
  }
  m_state.FromUnit = index;
  m_state.FromBasis = BasisOf(m_settings.From);
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::toUnitPicked(int index,
                                            const std::optional<ParameterDialogAnswer>& answer) {
  MoistureChanges changes;
  if (!MoistureUnitFromIndex(index)) return changes;
  m_state.ToUnit = list(List::ToUnit) = index;
  changes.Lists = true;
  labelAndDialogPass(MoistureSide::To, index, answer);
  changes.Focus = MoistureFocus::Panel;
  return recomputed(std::move(changes));
}

ClipboardListConversion MoistureModel::convertClipboardList(
    std::string_view text, const ClipboardLineWarning& warnAtLine) {
  ClipboardListConversion conversion;
  const std::size_t lineCount = CountLines(text);
  if (lineCount > kClipboardListMaxLines) {
    conversion.Refusal = "The clipboard holds " + std::to_string(lineCount) +
                         " lines; a list of at most " + std::to_string(kClipboardListMaxLines) +
                         " lines is converted here. Convert longer lists with tavimor-convert.";
    return conversion;
  }
  std::vector<std::string> results;
  const std::vector<std::string_view> lines = SplitClipboardLines(text);
  results.reserve(lines.size());
  MoistureChanges pending;
  for (const std::string_view line : lines) {
    MoistureChanges changes;
    setFromText(std::string(FirstCharacters(line, kClipboardLineMaxChars)), changes);
    recomputeResult();
    changes.Results = true;
    pending.merge(changes);
    results.push_back(std::string(FirstCharacters(at(Field::Result).Text, kFieldReadChars)));
    if (!pending.Warning) continue;
    // The spread of the other lines would be lost unseen; this one is shown with its line.
    recomputeSpread();
    if (warnAtLine) warnAtLine(pending);
    pending = {};
  }
  if (!lines.empty()) recomputeSpread();
  conversion.Output = JoinClipboardResults(results);
  conversion.Changes = std::move(pending);
  return conversion;
}

}  // namespace tavimor
