// The module's functions for the page's panels: the Moisture/Humidity panel as the desktop's
// model runs it (each event in, the panel's texts, lists and choices out as JSON), its
// parameter dialogs' acceptance rules and label texts, the graph's plan, the saved selections,
// and the temperature, pressure and 4-20 mA converters. The page is a view: it forwards each
// event here and writes back what comes out; it never computes.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <new>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/analog_output.h"
#include "core/calc_settings.h"
#include "core/fahrenheit.h"
#include "core/number_text.h"
#include "core/pressure_convert.h"
#include "core/single_precision.h"
#include "core/temperature_convert.h"
#include "core/unit_tables.h"
#include "model/moisture_model.h"
#include "model/parameter_dialogs.h"
#include "model/parameter_labels.h"
#include "plot/plot_graph.h"
#include "request/conversion_request.h"
#include "store/profile_store.h"
#include "store/saved_selections.h"
#include "web/engine/json_text.h"
#include "web/engine/web_request.h"

namespace tavimor {
namespace {

// The page's events of the Moisture/Humidity panel.
enum PanelEvent : int {
  kFromText = 1,
  kIncrementText = 2,
  kMeasuredText = 3,
  kComputeAtText = 4,
  kFromUnitPicked = 5,
  kToUnitPicked = 6,
  kMeasuredUnitPicked = 7,
  kComputeAtUnitPicked = 8,
  kIsobarClicked = 9,
  kPressureChoiceClicked = 10,
  kZoomHeld = 11,
  kFormulaChosen = 12,
  kEnhancementChosen = 13,
  kGasMethodChosen = 14,
};

constexpr const char* kIniPath = "/tmp/tavimor.ini";

// The panel's records and model, one for the page as the desktop has one per panel.
struct Panel {
  CalcSettings Settings;
  MoisturePanelState State;
  MoistureModel Model{Settings, State};
  // What the model opened the dialog the page shows with.
  ParameterDialogRequest Request;
  // An accepted dialog's answer, taken by the unit pick that follows it.
  std::optional<ParameterDialogAnswer> Answer;
};

Panel& ThePanel() {
  static Panel panel;
  return panel;
}

std::string_view FieldName(MoistureField field) {
  switch (field) {
    case MoistureField::From:
      return "from";
    case MoistureField::Increment:
      return "increment";
    case MoistureField::Measured:
      return "measured";
    case MoistureField::ComputeAt:
      return "computeAt";
    case MoistureField::Result:
      return "result";
    case MoistureField::Delta:
      break;
  }
  return "delta";
}

std::string_view FocusName(MoistureFocus focus) {
  switch (focus) {
    case MoistureFocus::Panel:
      return "panel";
    case MoistureFocus::FromFieldSelected:
      return "fromSelected";
    case MoistureFocus::Released:
      return "released";
    case MoistureFocus::Unchanged:
      break;
  }
  return "unchanged";
}

void AppendNumberKey(std::string& out, std::string_view key, double value) {
  AppendJsonKey(out, key);
  AppendJsonNumber(out, value);
}

void AppendTextKey(std::string& out, std::string_view key, std::string_view text) {
  AppendJsonKey(out, key);
  AppendJsonString(out, text);
}

// The panel's state as JSON; with refused, what is said of each saved value a load refused.
std::string PanelState(const MoistureChanges& changes,
                       std::span<const std::string_view> refused = {}) {
  const MoistureModel& m = ThePanel().Model;
  std::string out = "{";
  AppendTextKey(out, "from", m.text(MoistureField::From));
  AppendTextKey(out, "increment", m.text(MoistureField::Increment));
  AppendTextKey(out, "measured", m.text(MoistureField::Measured));
  AppendTextKey(out, "computeAt", m.text(MoistureField::ComputeAt));
  AppendTextKey(out, "result", m.text(MoistureField::Result));
  AppendTextKey(out, "delta", m.text(MoistureField::Delta));
  AppendJsonKey(out, "changed");
  AppendJsonArray(out, changes.Fields, [](std::string& o, MoistureField field) {
    AppendJsonString(o, FieldName(field));
  });
  AppendNumberKey(out, "fromList", m.listSelection(MoistureList::FromUnit));
  AppendNumberKey(out, "toList", m.listSelection(MoistureList::ToUnit));
  AppendNumberKey(out, "measuredList", m.listSelection(MoistureList::MeasuredUnit));
  AppendNumberKey(out, "computeAtList", m.listSelection(MoistureList::ComputeAtUnit));
  for (const MoistureSide side : {MoistureSide::From, MoistureSide::To}) {
    AppendJsonKey(out, side == MoistureSide::From ? "fromEntries" : "toEntries");
    std::array<std::string_view, kMoistureUnitCount> entries;
    for (int unit = 0; unit < kMoistureUnitCount; ++unit) {
      entries[static_cast<std::size_t>(unit)] = m.unitEntry(side, unit);
    }
    AppendJsonStrings(out, entries);
  }
  AppendNumberKey(out, "isobar", static_cast<int>(m.isobarChoice()));
  AppendNumberKey(out, "pressureChoice", static_cast<int>(m.pressureChoice()));
  AppendJsonKey(out, "computeAtEnabled");
  out.append(m.computeAtEnabled() ? "true" : "false");
  AppendTextKey(out, "caption", m.isobarCaption());
  AppendTextKey(out, "spread", m.spreadLine());
  AppendJsonKey(out, "warning");
  if (changes.Warning) {
    AppendJsonString(out, *changes.Warning);
  } else {
    out.append("null");
  }
  AppendTextKey(out, "focus", FocusName(changes.Focus));
  const CalcSettings& s = m.settings();
  AppendNumberKey(out, "formula", static_cast<int>(s.SwvpFormula));
  AppendNumberKey(out, "enhancement", static_cast<int>(s.EnhancementFactor));
  AppendNumberKey(out, "gasMethod", static_cast<int>(s.GasMethod));
  AppendJsonKey(out, "refused");
  AppendJsonArray(out, refused, [](std::string& o, std::string_view key) {
    AppendJsonString(o, RefusedSavedValueMessage(key));
  });
  out.push_back('}');
  return out;
}

std::string ReadIniFile() {
  std::ifstream file(kIniPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteIniFile(const char* bytes, int length) {
  std::ofstream(kIniPath, std::ios::binary | std::ios::trunc)
      .write(bytes, static_cast<std::streamsize>(std::max(length, 0)));
}

SavedKeys PanelKeys(int category) {
  SavedKeys keys;
  // Saving while another category is shown writes only the category, as Save Selections does.
  if (category == 1001) {
    const MoistureModel& m = ThePanel().Model;
    keys = ComposePanelSavedKeys(m.selectionTexts(), m.settings());
  }
  keys.emplace_back(std::string(kKeyConvCategory), std::to_string(category));
  return keys;
}

}  // namespace
}  // namespace tavimor

using namespace tavimor;

extern "C" {

// Creates the panel from the saved selections of an INI text (empty: the defaults), as the
// desktop creates it; the panel's state as JSON, with what is said of each value the INI
// holds that its dialog refuses ("refused").
EMSCRIPTEN_KEEPALIVE const char* tv_panel_load(const char* ini, int length) {
  Panel& panel = ThePanel();
  panel.~Panel();
  new (&panel) Panel();
  std::vector<std::string_view> refusedKeys;
  MoistureChanges changes = panel.Model.load(
      ProfileReaderForText(std::string(ini, static_cast<std::size_t>(std::max(length, 0)))),
      &refusedKeys);
  changes.merge(panel.Model.isobarClicked(panel.Model.isobarChoice()));
  changes.merge(panel.Model.start());
  changes.Focus = MoistureFocus::Unchanged;
  return ReturnText(PanelState(changes, refusedKeys));
}

// One event of the panel: a field's new text, a list's picked row, a clicked button (number),
// the zoom held (number 1) or let go; the panel's state as JSON.
EMSCRIPTEN_KEEPALIVE const char* tv_panel_event(int event, int number, const char* text) {
  MoistureModel& m = ThePanel().Model;
  CalcSettings& settings = ThePanel().Settings;
  MoistureChanges changes;
  switch (event) {
    case kFromText:
      changes = m.fromFieldNotified(text);
      break;
    case kIncrementText:
      changes = m.incrementFieldNotified(text);
      break;
    case kMeasuredText:
      changes = m.measuredFieldNotified(text);
      break;
    case kComputeAtText:
      changes = m.computeAtFieldNotified(text);
      break;
    case kFromUnitPicked:
      changes = m.fromUnitPicked(number, std::exchange(ThePanel().Answer, std::nullopt));
      break;
    case kToUnitPicked:
      changes = m.toUnitPicked(number, std::exchange(ThePanel().Answer, std::nullopt));
      break;
    case kMeasuredUnitPicked:
      changes = m.measuredUnitPicked(number);
      break;
    case kComputeAtUnitPicked:
      changes = m.computeAtUnitPicked(number);
      break;
    case kIsobarClicked:
      // Only the group's buttons click.
      if (number == kIsobarMeasured || number == kIsobarNone || number == kIsobarComputed) {
        changes = m.isobarClicked(static_cast<IsobarChoice>(number));
      }
      break;
    case kPressureChoiceClicked:
      if (number == kComputeAtMeasured || number == kComputeAtPressure) {
        changes = m.pressureChoiceClicked(static_cast<PressureChoice>(number));
      }
      break;
    case kZoomHeld:
      changes = m.setZoomHeld(number != 0);
      break;
    case kFormulaChosen:
      settings.SwvpFormula = static_cast<SwvpFormula>(number);
      changes = m.settingsChanged();
      break;
    case kEnhancementChosen:
      settings.EnhancementFactor = static_cast<EnhancementFactor>(number);
      changes = m.settingsChanged();
      break;
    case kGasMethodChosen:
      settings.GasMethod = static_cast<GasMethod>(number);
      changes = m.settingsChanged();
      break;
    default:
      break;
  }
  return ReturnText(PanelState(changes));
}

// Converts a list of values, one a line, as if each were typed into the From field, as the
// desktop converts the clipboard's list (JSON: refusal or null, output, warnings, state).
EMSCRIPTEN_KEEPALIVE const char* tv_panel_list(const char* text, int length) {
  // The desktop shows each line's range warning as the line comes; the page lists them.
  std::vector<std::string> warnings;
  MoistureChanges changed;
  const ClipboardListConversion c = ThePanel().Model.convertClipboardList(
      std::string_view(text, static_cast<std::size_t>(std::max(length, 0))),
      [&](const MoistureChanges& changes) {
        if (changes.Warning) warnings.push_back(*changes.Warning);
        changed.merge(changes);
      });
  changed.merge(c.Changes);
  changed.Warning.reset();
  std::string out = "{";
  AppendJsonKey(out, "refusal");
  if (c.Refusal) {
    AppendJsonString(out, *c.Refusal);
  } else {
    out.append("null");
  }
  AppendTextKey(out, "output", c.Output);
  AppendJsonKey(out, "warnings");
  AppendJsonStrings(out, warnings);
  AppendJsonKey(out, "state");
  out.append(PanelState(changed));
  out.push_back('}');
  return ReturnText(std::move(out));
}

// Opens the parameter dialog of a unit for a side (0 From, 1 To): the controls as the
// desktop's dialog shows them when it opens, as JSON; null for a unit without a dialog.
EMSCRIPTEN_KEEPALIVE const char* tv_dialog_open(int unit, int side) {
  Panel& panel = ThePanel();
  const auto request =
      panel.Model.parameterDialogFor(side == 0 ? MoistureSide::From : MoistureSide::To, unit);
  if (!request) return nullptr;
  panel.Request = *request;
  panel.Answer.reset();
  const SideParams& params = request->Params;
  std::string suffix;
  std::string out = "{";
  // The field in the unit marked: the working temperature in °F or °C.
  const auto temperature = [&out](float tempC, bool fahrenheit) {
    AppendTextKey(out, "field", DialogFieldText(fahrenheit ? FahrenheitFromCelsius(tempC) : tempC));
  };
  switch (request->Unit) {
    case MoistureUnit::PpmwGas: {
      GasWorking w = GasWorkingOf(params);
      OpenGasDialog(w, suffix);
      const bool other = w.GasIndex == OtherGasIndex;
      AppendTextKey(out, "kind", "gas");
      AppendNumberKey(out, "choice", w.GasIndex);
      // What the field shows when "other gas" is chosen: the working molecular weight.
      AppendTextKey(out, "working", DialogFieldText(w.MolWeight));
      AppendTextKey(out, "field", other ? DialogFieldText(w.MolWeight) : "");
      break;
    }
    case MoistureUnit::PpmwLiquid: {
      LiquidWorking w = LiquidWorkingOf(params);
      OpenLiquidDialog(w, suffix);
      const bool custom = w.Liquid == LiquidChoice::CustomLiquid;
      AppendTextKey(out, "kind", "liquid");
      AppendNumberKey(out, "choice", static_cast<int>(w.Liquid));
      AppendTextKey(out, "working", DialogFieldText(w.HenryK));
      AppendTextKey(out, "field", custom ? DialogFieldText(w.HenryK) : "");
      break;
    }
    case MoistureUnit::RelHumidity: {
      const AmbientWorking w = AmbientWorkingOf(params);
      const bool fahrenheit = w.AmbientTempUnit == AmbientTempUnit::AmbientFahrenheit;
      const bool celsius = w.AmbientTempUnit == AmbientTempUnit::AmbientCelsius;
      AppendTextKey(out, "kind", "ambient");
      AppendNumberKey(out, "unit", fahrenheit || celsius ? static_cast<int>(w.AmbientTempUnit) : 0);
      temperature(w.AmbientTempC, fahrenheit);
      break;
    }
    default: {
      DensityWorking w = DensityWorkingOf(params);
      OpenDensityDialog(w, suffix);
      AppendTextKey(out, "kind", "density");
      AppendNumberKey(out, "choice", static_cast<int>(w.DensityMedium));
      AppendNumberKey(out, "unit", static_cast<int>(w.VaporTempUnit));
      temperature(w.VaporTempC, w.VaporTempUnit == VaporTempUnit::VaporFahrenheit);
      break;
    }
  }
  out.push_back('}');
  return ReturnText(std::move(out));
}

// The dialog's OK with its controls (ParameterDialogControls: the gas list's row or the
// liquid's or medium's button, the checked temperature unit button, the field's text): 1
// when accepted, and the next unit pick takes the answer; 0 when the dialog stays open.
EMSCRIPTEN_KEEPALIVE int tv_dialog_ok(int choice, int unit, const char* text) {
  auto answer = ParameterDialogOk(ThePanel().Request, {choice, unit, HoldSingle(ReadNumber(text))});
  if (!answer) return 0;
  ThePanel().Answer = std::move(answer);
  return 1;
}

// The graph of the panel for a bitmap of width x height pixels, as the desktop plans one
// paint, as JSON.
EMSCRIPTEN_KEEPALIVE const char* tv_panel_graph(int width, int height) {
  const GraphPlan plan = PlanMoistureGraph(ThePanel().Model.graphInputs(), width, height);
  // Points as flat arrays x0, y0, x1, y1, ...
  const auto point = [](std::string& o, const PixelPoint& p) {
    o.append(std::to_string(p.X)).append(",").append(std::to_string(p.Y));
  };
  const auto number = [](std::string& o, int v) { o.append(std::to_string(v)); };
  const auto points = [&](std::string& o, const std::vector<PixelPoint>& curve) {
    AppendJsonArray(o, curve, point);
  };
  std::string out = "{";
  AppendJsonKey(out, "grid");
  out.append(plan.HasGrid ? "true" : "false");
  AppendJsonKey(out, "labels");
  out.append(plan.Geometry ? "true" : "false");
  AppendJsonKey(out, "gridRows");
  AppendJsonArray(out, plan.GridRows, number);
  AppendJsonKey(out, "gridColumns");
  AppendJsonArray(out, plan.GridColumns, number);
  AppendJsonKey(out, "yLabelAt");
  AppendJsonArray(out, plan.YLabelAt, point);
  AppendJsonKey(out, "xLabelAt");
  AppendJsonArray(out, plan.XLabelAt, point);
  AppendJsonKey(out, "xLabels");
  AppendJsonStrings(out, plan.XLabels);
  AppendJsonKey(out, "yLabels");
  AppendJsonStrings(out, plan.YLabels);
  AppendJsonKey(out, "curve");
  points(out, plan.Curve);
  AppendJsonKey(out, "isobars");
  AppendJsonArray(out, plan.Isobars, points);
  AppendJsonKey(out, "marker");
  if (plan.MarkerAt) {
    point(out.append("["), PixelPoint{plan.MarkerAt->Column, plan.MarkerAt->Row});
    out.push_back(']');
  } else {
    out.append("null");
  }
  AppendJsonKey(out, "zoomed");
  out.append(plan.Zoomed ? "true" : "false");
  out.push_back('}');
  return ReturnText(std::move(out));
}

// The saved selections of the panel (and the category 1001 to 1004) as the desktop's Save
// Selections writes them, as JSON pairs [key, value]: what the page keeps and links.
EMSCRIPTEN_KEEPALIVE const char* tv_panel_keys(int category) {
  std::string out;
  AppendJsonArray(out, PanelKeys(category), [](std::string& o, const auto& pair) {
    const std::string_view both[] = {pair.first, pair.second};
    AppendJsonStrings(o, both);
  });
  return ReturnText(std::move(out));
}

// The INI text with the panel's selections saved into it as the desktop saves them (every
// other byte kept); null, with the reason from tv_panel_error, when it cannot be written.
EMSCRIPTEN_KEEPALIVE const char* tv_panel_save(const char* ini, int length, int category) {
  WriteIniFile(ini, length);
  const ProfileWriteResult result =
      WriteProfileStrings(kIniPath, kProfileSection, PanelKeys(category));
  if (!result.Ok) return nullptr;
  return ReturnText(ReadIniFile());
}

// The conversion the panel shows, as the options of the JavaScript API's convert (and of a
// table's conversion): its units, its pressure fields as they read, its compute-at choice,
// increment, physics and both sides' parameters as they stand.
EMSCRIPTEN_KEEPALIVE const char* tv_panel_request() {
  const MoistureModel& m = ThePanel().Model;
  return ReturnText(RequestOptionsJson(
      RequestOf(m.inputs(), m.settings(), m.pressureChoice() == kComputeAtMeasured)));
}

// The texts of the page's lists that the tables of the engine hold, as JSON: pressure and
// temperature units, gases and liquids (each with its K as the liquid dialog writes it).
EMSCRIPTEN_KEEPALIVE const char* tv_page_texts() {
  std::string out = "{";
  AppendJsonKey(out, "pressureUnits");
  AppendJsonArray(out, kPressureUnits, [](std::string& o, const PressureUnitRow& row) {
    AppendJsonString(o, row.Name);
  });
  AppendJsonKey(out, "temperatureUnits");
  AppendJsonArray(out, kTemperatureUnits, [](std::string& o, const TemperatureUnitRow& row) {
    AppendJsonString(o, row.Name);
  });
  AppendJsonKey(out, "gases");
  AppendJsonArray(out, GasTable,
                  [](std::string& o, const GasEntry& gas) { AppendJsonString(o, gas.ListText); });
  AppendJsonKey(out, "liquids");
  AppendJsonArray(out, kLiquidTable, [](std::string& o, const LiquidEntry& liquid) {
    o.push_back('{');
    AppendNumberKey(o, "button", static_cast<int>(liquid.Button));
    AppendTextKey(o, "text", liquid.Text);
    AppendTextKey(o, "k", DialogFieldText(liquid.HenryK));
    o.push_back('}');
  });
  out.push_back('}');
  return ReturnText(std::move(out));
}

// The temperature panel: the result of the From text (JSON: result, sentence).
EMSCRIPTEN_KEEPALIVE const char* tv_temperature(const char* text, int fromUnit, int toUnit) {
  const TemperatureResult r = ComputeTemperatureResult(ReadNumber(text), fromUnit, toUnit);
  std::string out = "{";
  AppendTextKey(out, "result", FormatSignificant(static_cast<double>(r.Value), 7));
  AppendJsonKey(out, "sentence");
  out.append(r.ShowSentence ? "true" : "false");
  out.push_back('}');
  return ReturnText(std::move(out));
}

// The From text re-expressed when the From unit of the temperature or pressure panel changes.
EMSCRIPTEN_KEEPALIVE const char* tv_reexpress(int panel, const char* text, int fromUnit,
                                              int toUnit) {
  const double value = ReadNumber(text);
  return ReturnText(FormatSignificant(panel == 0 ? ReexpressTemperature(value, fromUnit, toUnit)
                                                 : ConvertPressureValue(value, fromUnit, toUnit),
                                      7));
}

// The pressure panel's result of the From text.
EMSCRIPTEN_KEEPALIVE const char* tv_pressure(const char* text, int fromUnit, int toUnit) {
  return ReturnText(FormatSignificant(ConvertPressureValue(ReadNumber(text), fromUnit, toUnit), 7));
}

// The analog output panel: the result and the unit text of the value read (JSON).
EMSCRIPTEN_KEEPALIVE const char* tv_analog(const char* value, const char* low, const char* high,
                                           int voltage, const char* resistor) {
  AnalogReading reading;
  reading.Value = ReadNumber(value);
  reading.Low = ReadNumber(low);
  reading.High = ReadNumber(high);
  reading.Mode = voltage ? DetectMode::Voltage : DetectMode::Current;
  reading.ResistorOhm = ReadNumber(resistor);
  std::string out = "{";
  AppendTextKey(out, "result", AnalogResultText(reading));
  AppendTextKey(out, "unit", voltage ? AnalogVoltageRangeText(reading.ResistorOhm) : "mA");
  out.push_back('}');
  return ReturnText(std::move(out));
}

}  // extern "C"
