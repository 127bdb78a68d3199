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

namespace ids = moisture_ids;

namespace {

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
constexpr MoistureUnit kOptionUnits[] = {MoistureUnit::PpmwGas, MoistureUnit::PpmwLiquid,
                                         MoistureUnit::GramsPerM3, MoistureUnit::RelHumidity};

bool IsOptionUnit(int unit) {
  return std::any_of(std::begin(kOptionUnits), std::end(kOptionUnits),
                     [unit](MoistureUnit u) { return static_cast<int>(u) == unit; });
}

float FieldNumber(std::string_view text) {
  return HoldSingle(ReadNumber(text));
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

std::string_view IsobarCaption(int button) {
  switch (button) {
    case kIsobarMeasured:
      return "dark green  curves\n2x & 4x measured\npressure selection";
    case kIsobarComputed:
      return "dark green  curves\n2x & 4x computed\npressure selection";
    default:
      return " ";
  }
}

void MoistureChanges::addField(MoistureControl id) {
  if (std::find(Fields.begin(), Fields.end(), id) == Fields.end()) Fields.push_back(id);
}

void MoistureChanges::merge(const MoistureChanges& later) {
  for (const MoistureControl id : later.Fields) addField(id);
  Lists = Lists || later.Lists;
  Choices = Choices || later.Choices;
  Results = Results || later.Results;
  if (later.Warning) Warning = later.Warning;
  if (later.Focus != MoistureFocus::Unchanged) Focus = later.Focus;
}

MoistureModel::MoistureModel(CalcSettings& settings, MoisturePanelState& state)
    : m_settings(settings), m_state(state) {
  for (auto& entries : m_entries) {
    for (std::size_t unit = 0; unit < entries.size(); ++unit) {
      entries[unit] = std::string(kMoistureUnits[unit].ComboText);
    }
  }
}

const std::string& MoistureModel::text(MoistureControl id) const {
  return const_cast<MoistureModel*>(this)->field(id);
}

std::string& MoistureModel::field(MoistureControl id) {
  switch (id) {
    case ids::kFromValue:
      return m_fromText;
    case ids::kIncrement:
      return m_incrementText;
    case ids::kMeasuredPressure:
      return m_measuredText;
    case ids::kComputePressure:
      return m_computeText;
    case ids::kDelta:
      return m_deltaText;
    default:
      return m_resultText;
  }
}

int MoistureModel::listSelection(MoistureControl list) const {
  switch (list) {
    case ids::kFromUnit:
      return m_fromList;
    case ids::kToUnit:
      return m_toList;
    case ids::kMeasuredPressureUnit:
      return m_measuredList;
    case ids::kComputePressureUnit:
      return m_computeList;
    default:
      return -1;
  }
}

const std::string& MoistureModel::unitEntry(MoistureSide side, int unit) const {
  const auto& entries = m_entries[side == MoistureSide::From ? 0 : 1];
  return entries[static_cast<std::size_t>(std::clamp(unit, 0, kMoistureUnitCount - 1))];
}

GraphInputs MoistureModel::graphInputs() const {
  GraphInputs in;
  in.FromValue = ReadNumber(m_fromText);
  in.FromUnit = m_fromList;
  in.ToUnit = m_toList;
  in.MeasuredPressureMbar = ReadPressureMbar(FieldNumber(m_measuredText), m_measuredList);
  in.ComputePressureMbar = ReadPressureMbar(FieldNumber(m_computeText), m_computeList);
  in.IsobarButton = m_isobar;
  in.ZoomHeld = m_state.ZoomHeld;
  in.Settings = m_settings;
  return in;
}

PanelSelectionTexts MoistureModel::selectionTexts() const {
  PanelSelectionTexts texts;
  texts.IsobarChoice =
      m_isobar == kIsobarMeasured || m_isobar == kIsobarComputed ? m_isobar : kIsobarNone;
  texts.PressureChoice =
      m_pressureChoice == kComputeAtMeasured ? kComputeAtMeasured : kComputeAtPressure;
  texts.FromText = m_fromText;
  texts.FromListIndex = m_fromList;
  texts.ToListIndex = m_toList;
  texts.MeasuredText = m_measuredText;
  texts.MeasuredListIndex = m_measuredList;
  texts.ComputeText = m_computeText;
  texts.ComputeListIndex = m_computeList;
  return texts;
}

MoistureChanges MoistureModel::load(const ProfileReader& read) {
  // Fields after one that does not parse keep the values of the previous creation.
  PanelSelections saved;
  saved.FromUnit = m_state.FromUnit;
  saved.ToUnit = m_state.ToUnit;
  saved.MeasuredPressureUnit = m_state.MeasuredPressureUnit;
  saved.ComputePressureUnit = m_state.ComputePressureUnit;
  ReadSavedSelections(read, saved, m_settings);
  m_state.FromBasis = BasisOf(m_settings.From);

  MoistureChanges changes;
  // The From field is written before its list has a selection: no range check here.
  m_fromText = FormatSignificant(saved.FromValue, 5);
  m_state.FromUnit = m_fromList = saved.FromUnit;
  m_measuredText = FormatSignificant(saved.MeasuredPressure, 6);
  m_state.MeasuredPressureUnit = m_measuredList = saved.MeasuredPressureUnit;
  m_state.ToUnit = m_toList = saved.ToUnit;
  m_computeText = FormatSignificant(saved.ComputePressure, 6);
  m_state.ComputePressureUnit = m_computeList = saved.ComputePressureUnit;
  changes.Fields = {ids::kFromValue, ids::kMeasuredPressure, ids::kComputePressure};
  changes.Lists = true;

  m_isobar = saved.IsobarChoice;
  m_pressureChoice = saved.PressureChoice;
  m_computeAtEnabled = saved.PressureChoice != kComputeAtMeasured;
  changes.Choices = true;
  return changes;
}

MoistureChanges MoistureModel::start() {
  return recomputed({});
}

MoistureInputs MoistureModel::inputs() const {
  MoistureInputs in;
  in.FromValue = FieldNumber(m_fromText);
  in.Increment = FieldNumber(m_incrementText);
  in.FromUnit = m_state.FromUnit;
  in.FromListSelection = m_fromList;
  in.ToListSelection = m_toList;
  in.MeasuredPressure = FieldNumber(m_measuredText);
  in.MeasuredPressureUnit = m_measuredList;
  in.ComputePressure = FieldNumber(m_computeText);
  in.ComputePressureUnit = m_computeList;
  return in;
}

void MoistureModel::recompute() {
  recomputeResult();
  recomputeSpread();
}

void MoistureModel::recomputeResult() {
  MoistureResults results = ComputeMoistureResults(inputs(), m_settings);
  m_resultValid = results.ResultValid;
  m_resultText = std::move(results.ResultText);
  m_deltaText = std::move(results.DeltaText);
}

void MoistureModel::recomputeSpread() {
  // Where the result field shows no number the line says so, whatever other choices give.
  m_spreadLine =
      SpreadLine(m_resultValid ? ComputeMoistureSpread(inputs(), m_settings) : MoistureSpread{},
                 m_toList, NaturalGasOverride(m_settings, m_fromList, m_toList));
}

MoistureChanges MoistureModel::recomputed(MoistureChanges changes) {
  recompute();
  changes.Results = true;
  return changes;
}

void MoistureModel::setFromText(std::string text, MoistureChanges& changes) {
  m_fromText = std::move(text);
  changes.addField(ids::kFromValue);
  // Writing the field notifies the panel, which checks the new text.
  validateFromValue(changes);
}

void MoistureModel::validateFromValue(MoistureChanges& changes) {
  const auto message = FromValueRangeMessage(m_fromList, FieldNumber(m_fromText));
  if (!message) return;
  // "enter new val" reads as 0, which every range accepts: one warning per bad entry.
  m_fromText = std::string(kEnterNewValue);
  changes.addField(ids::kFromValue);
  changes.Warning = std::string(*message);
  changes.Focus = MoistureFocus::FromFieldSelected;
}

MoistureChanges MoistureModel::fromFieldNotified(std::string_view text) {
  MoistureChanges changes;
  m_fromText = std::string(text);
  validateFromValue(changes);
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::incrementFieldNotified(std::string_view text) {
  m_incrementText = std::string(text);
  return recomputed({});
}

MoistureChanges MoistureModel::computeAtFieldNotified(std::string_view text) {
  m_computeText = std::string(text);
  return recomputed({});
}

MoistureChanges MoistureModel::measuredFieldNotified(std::string_view text) {
  MoistureChanges changes;
  m_measuredText = std::string(text);
  if (m_pressureChoice == kComputeAtMeasured) {
    m_computeText = m_measuredText;
    changes.addField(ids::kComputePressure);
  }
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::pressureUnitPicked(MoistureControl fieldId, MoistureControl listId,
                                                  int index, int32_t& stateUnit) {
  MoistureChanges changes;
  int& list = listId == ids::kMeasuredPressureUnit ? m_measuredList : m_computeList;
  list = index;
  changes.Lists = true;
  if (index != stateUnit && IsPressureUnitIndex(index)) {
    const bool measured = fieldId == ids::kMeasuredPressure;
    if (measured && m_pressureChoice == kComputeAtMeasured) {
      m_state.ComputePressureUnit = m_computeList = index;
    }
    std::string& text = field(fieldId);
    const float mbar = ReadPressureMbar(FieldNumber(text), stateUnit);
    text = FormatSignificant(PressureFromMbar(mbar, index), 7);
    changes.addField(fieldId);
    // The new measured text is copied into the compute-at field under "compute at measured".
    if (measured && m_pressureChoice == kComputeAtMeasured) {
      m_computeText = text;
      changes.addField(ids::kComputePressure);
    }
    stateUnit = index;
  }
  changes.Focus = MoistureFocus::Panel;
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::measuredUnitPicked(int index) {
  return pressureUnitPicked(ids::kMeasuredPressure, ids::kMeasuredPressureUnit, index,
                            m_state.MeasuredPressureUnit);
}

MoistureChanges MoistureModel::computeAtUnitPicked(int index) {
  return pressureUnitPicked(ids::kComputePressure, ids::kComputePressureUnit, index,
                            m_state.ComputePressureUnit);
}

MoistureChanges MoistureModel::isobarClicked(int button) {
  MoistureChanges changes;
  m_isobar = button;
  m_isobarCaption = std::string(IsobarCaption(button));
  changes.Choices = true;
  return recomputed(std::move(changes));
}

MoistureChanges MoistureModel::pressureChoiceClicked(int button) {
  MoistureChanges changes;
  m_pressureChoice = button;
  changes.Choices = true;
  if (button == kComputeAtMeasured) {
    m_computeAtEnabled = false;
    m_state.ComputePressureUnit = m_computeList = m_measuredList;
    changes.Lists = true;
    m_computeText = m_measuredText;
    changes.addField(ids::kComputePressure);
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

void MoistureModel::labelAndDialogPass(MoistureSide side, int selected,
                                       const ParameterDialogRunner& run) {
  SideParams& params = side == MoistureSide::From ? m_settings.From : m_settings.To;
  auto& entries = m_entries[side == MoistureSide::From ? 0 : 1];
  for (const MoistureUnit unit : kOptionUnits) {
    const auto index = static_cast<std::size_t>(unit);
    const std::string_view base = kMoistureUnits[index].ComboText;
    if (static_cast<int>(unit) != selected) {
      entries[index] = std::string(base);
      continue;
    }
    std::string& suffix = unit == MoistureUnit::PpmwGas      ? m_gasSuffix
                          : unit == MoistureUnit::PpmwLiquid ? m_liquidSuffix
                          : unit == MoistureUnit::GramsPerM3 ? m_mediumSuffix
                                                             : m_ambientSuffix;
    if (run) {
      // The dialog's result code is not consulted: its working values are taken back.
      ParameterDialogAnswer answer = run({unit, side, params, suffix});
      params = answer.Params;
      suffix = std::move(answer.LabelSuffix);
    }
    entries[index] = EntryTextWithChoice(base, suffix);
  }
}

MoistureChanges MoistureModel::fromUnitPicked(int index, const ParameterDialogRunner& runDialog) {
  MoistureChanges changes;
  if (!MoistureUnitFromIndex(index)) return changes;
  m_fromList = index;
  changes.Lists = true;
  labelAndDialogPass(MoistureSide::From, index, runDialog);
  if (index == m_state.FromUnit && !IsOptionUnit(index)) {
    changes.Focus = MoistureFocus::Panel;
    return changes;
  }
  const float measuredMbar = ReadPressureMbar(FieldNumber(m_measuredText), m_measuredList);
  const ReexpressedFromValue reexpressed =
      ReexpressFromValue(FieldNumber(m_fromText), m_state.FromUnit, index, measuredMbar, m_settings,
                         m_state.FromBasis, m_fromList, m_toList);
  if (reexpressed.Outcome == ReexpressOutcome::OldUnitFailed) {
    m_fromText = std::string(kEnterNewValue);
    changes.addField(ids::kFromValue);
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

MoistureChanges MoistureModel::toUnitPicked(int index, const ParameterDialogRunner& runDialog) {
  MoistureChanges changes;
  if (!MoistureUnitFromIndex(index)) return changes;
  m_state.ToUnit = m_toList = index;
  changes.Lists = true;
  labelAndDialogPass(MoistureSide::To, index, runDialog);
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
    results.push_back(std::string(FirstCharacters(m_resultText, kFieldReadChars)));
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
