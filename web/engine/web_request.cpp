#include "web/engine/web_request.h"

#include <algorithm>
#include <cctype>
#include <variant>
#include <vector>

#include "core/formula_spread.h"
#include "core/std_bridge.h"
#include "core/unit_tables.h"
#include "request/choice_names.h"
#include "web/engine/json_text.h"

namespace tavimor {

namespace {

// The whole text as JavaScript writes a double ("1013.25", "1e-7", "Infinity", "NaN").
std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const auto [end, ec] = DoubleFromChars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::string> Apply(const RequestField& field, const WebRequestField& given,
                                 NumberCheck check, ConvertSettings& settings) {
  std::optional<FieldRefusal> refusal;
  std::string value = given.Number ? std::string(given.Text) : Quoted(given.Text);
  if (!given.Number || field.SetNumber == nullptr) {
    refusal = field.SetText(settings, given.Text);
    if (refusal && refusal->Part) value = Quoted(*refusal->Part);
  } else if (const auto number = ParseNumber(given.Text)) {
    refusal = field.SetNumber(settings, *number, check);
  } else {
    refusal = FieldRefusal{FieldRefusal::Kind::BadNumber, {}, "a number", {}};
  }
  if (!refusal) return std::nullopt;
  std::string name(field.Keyword);
  if (!field.Key.empty()) name.append(": ").append(field.Key);
  return RefusalMessage(*refusal, name, value);
}

// "from_params" as JavaScript spells it: "fromParams".
std::string JsName(std::string_view name) {
  std::string js;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '_' && i + 1 < name.size()) {
      js.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(name[++i]))));
    } else {
      js.push_back(name[i]);
    }
  }
  return js;
}

void AppendFieldValue(std::string& out, const FieldValue& value) {
  std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, double>) {
          AppendJsonNumber(out, v);
        } else if constexpr (std::is_same_v<T, std::string>) {
          AppendJsonString(out, v);
        } else if constexpr (std::is_same_v<T, bool>) {
          out.append(v ? "true" : "false");
        } else {
          out.append("null");
        }
      },
      value);
}

}  // namespace

std::optional<std::string> ApplyRequestFields(std::span<const WebRequestField> fields,
                                              ConvertSettings& settings) {
  std::vector<std::pair<const RequestField*, const WebRequestField*>> given;
  std::vector<std::string_view> savedSides;
  for (const WebRequestField& field : fields) {
    const std::size_t dot = field.Name.find('.');
    const std::string_view keyword = field.Name.substr(0, dot);
    const std::string_view key = dot == std::string_view::npos ? "" : field.Name.substr(dot + 1);
    if (key == "saved") {
      if (field.Text != "0") savedSides.push_back(keyword);
    } else if (const RequestField* row = FieldByKeyword(keyword, key)) {
      given.emplace_back(row, &field);
    } else if (key.empty() && IsTableOption(keyword)) {
      if (auto error = ApplyTableOption(keyword, field.Text, settings)) return error;
    } else {
      return "unknown field " + Quoted(field.Name);
    }
  }
  // The rows of the request's table lie in one array, in the order a front end applies them.
  std::stable_sort(given.begin(), given.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [row, field] : given) {
    const bool saved =
        std::find(savedSides.begin(), savedSides.end(), row->Keyword) != savedSides.end();
    if (auto error =
            Apply(*row, *field, saved ? NumberCheck::AsSaved : NumberCheck::AsTyped, settings)) {
      return error;
    }
  }
  return UnmetNeedMessage(settings, false);
}

std::string RequestOptionsJson(const ConversionRequest& request) {
  std::string out = "{";
  std::string_view open;  // the keyword whose mapping is being written
  const auto close = [&] {
    if (open.empty()) return;
    AppendJsonKey(out, "saved");
    out.append("true}");
    open = {};
  };
  for (const RequestField& field : RequestFields()) {
    if (field.Keyword.empty()) continue;
    if (field.Keyword != open) close();
    if (!field.Key.empty() && open.empty()) {
      AppendJsonKey(out, JsName(field.Keyword));
      out.push_back('{');
      open = field.Keyword;
    }
    AppendJsonKey(out, JsName(field.Key.empty() ? field.Keyword : field.Key));
    AppendFieldValue(out, field.Get(request));
  }
  close();
  out.push_back('}');
  return out;
}

std::string RequestNamesJson() {
  const auto names = [](std::string& out, std::string_view key, const auto& rows,
                        const auto& nameOf) {
    AppendJsonKey(out, key);
    AppendJsonArray(out, rows,
                    [&](std::string& o, const auto& row) { AppendJsonString(o, nameOf(row)); });
  };
  const auto choice = [](const auto& row) { return row.Name; };
  std::string out = "{";
  names(out, "units", kMoistureUnits, choice);
  names(out, "pressure_units", kPressureUnits,
        [](const PressureUnitRow& row) { return PressureUnitName(row.Index); });
  names(out, "formulas", kSwvpFormulaChoices, choice);
  names(out, "enhancements", kEnhancementFactorChoices, choice);
  names(out, "gas_methods", kGasMethodChoices, choice);
  names(out, "media", kDensityMediumChoices, choice);
  AppendJsonKey(out, "combinations");
  AppendJsonArray(out, kPhysicsCombinations, [](std::string& o, const PhysicsCombination& c) {
    const std::string_view pair[] = {
        ChoiceRowOf(kSwvpFormulaChoices, c.SwvpFormula).Name,
        ChoiceRowOf(kEnhancementFactorChoices, c.EnhancementFactor).Name};
    AppendJsonStrings(o, pair);
  });
  AppendJsonKey(out, "fields");
  AppendJsonArray(out, RequestFields(), [](std::string& o, const RequestField& field) {
    const std::string_view pair[] = {field.Keyword, field.Key};
    AppendJsonStrings(o, pair);
  });
  out.push_back('}');
  return out;
}

}  // namespace tavimor
