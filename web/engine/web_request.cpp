#include "web/engine/web_request.h"

#include "core/formula_spread.h"
#include "core/single_precision.h"
#include "core/std_bridge.h"
#include "core/unit_tables.h"
#include "request/choice_names.h"
#include "web/engine/json_text.h"

namespace tavimor {

namespace {

std::string Refusal(std::string_view what, std::string_view text, std::string_view allowed) {
  std::string message = "unknown ";
  message.append(what).append(" ").append(Quoted(text)).append(": expected one of ");
  return message.append(allowed);
}

template <typename T, std::size_t N>
std::optional<std::string> Choose(std::string_view what, std::string_view text,
                                  const std::array<ChoiceRow<T>, N>& choices, T& into) {
  if (const auto value = ParseChoice(text, choices)) {
    into = *value;
    return std::nullopt;
  }
  return Refusal(what, text, ChoiceNameList(choices));
}

std::optional<std::string> ChooseUnit(std::string_view text, int& into) {
  if (const auto unit = ParseMoistureUnit(text)) {
    into = *unit;
    return std::nullopt;
  }
  return Refusal("unit", text, MoistureUnitNameList());
}

std::optional<std::string> ChoosePressureUnit(std::string_view text, int& into) {
  if (const auto unit = ParsePressureUnit(text)) {
    into = *unit;
    return std::nullopt;
  }
  return Refusal("pressure unit", text, PressureUnitNameList());
}

// A number as JavaScript writes a double ("1013.25", "1e-7", "Infinity", "NaN"): the whole
// text, read to the same double.
std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const auto [end, ec] = DoubleFromChars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string NotANumber(std::string_view name, std::string_view text) {
  return std::string(name) + " must be a number, not " + Quoted(text);
}

// A column number from 1 (digits only), or else a header's name.
std::optional<ColumnChoice> ParseColumn(std::string_view text) {
  if (text.empty()) return std::nullopt;
  ColumnChoice column;
  if (text.find_first_not_of("0123456789") != std::string_view::npos) {
    column.Name = text;
    return column;
  }
  const std::string_view digits = text.substr(std::min(text.find_first_not_of('0'), text.size()));
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  column.Number = 0;
  for (const char c : digits)
    column.Number = column.Number * 10 + static_cast<std::size_t>(c - '0');
  return column;
}

// One side's parameter; sides read from saved selections take the values as stored, as the
// program takes them, typed ones are checked as the dialogs check them.
std::optional<std::string> ApplySideField(std::string_view sideName, std::string_view key,
                                          std::string_view text, bool saved, SideParams& side) {
  if (key == "medium") return Choose("medium", text, kDensityMediumChoices, side.DensityMedium);
  struct Number {
    std::string_view Key;
    TypedParam Param;
    float SideParams::*Field;
    std::string_view Expected;
  };
  static constexpr Number kNumbers[] = {
      {"mw", TypedParam::MolWeight, &SideParams::MolWeight, "a number above 0"},
      {"k", TypedParam::HenryK, &SideParams::HenryK, "a number above 0"},
      {"ambient", TypedParam::AmbientTempC, &SideParams::AmbientTempC,
       "a temperature above -80 and below 200 (°C)"},
      {"vapor_temp", TypedParam::VaporTempC, &SideParams::VaporTempC,
       "a temperature above -80 and below 200 (°C)"},
  };
  for (const Number& n : kNumbers) {
    if (n.Key != key) continue;
    const std::string name = std::string(sideName) + ": " + std::string(key);
    const auto number = ParseNumber(text);
    if (!number) return NotANumber(name, text);
    const float value = HoldSingle(*number);
    if (saved) {
      side.*n.Field = value;
    } else if (!SetTypedParam(side, n.Param, value)) {
      return name + " must be " + std::string(n.Expected) + ", not " + std::string(text);
    }
    return std::nullopt;
  }
  return "unknown parameter " + Quoted(key) + " of " + std::string(sideName) +
         ": expected one of mw, k, ambient, medium, vapor_temp";
}

std::optional<std::string> ApplyTableField(std::string_view name, std::string_view text,
                                           TableSettings& table) {
  if (name == "delimiter") {
    const std::string_view c = text == "\\t" ? "\t" : text;
    if (c.size() != 1 || c[0] == '"' || c[0] == '\r' || c[0] == '\n') {
      return "delimiter must be one character other than a quote, not " + Quoted(text);
    }
    table.Delimiter = c[0];
  } else if (name == "header") {
    if (EqualsIgnoringAsciiCase(text, "yes")) {
      table.Header = HeaderChoice::Yes;
    } else if (EqualsIgnoringAsciiCase(text, "no")) {
      table.Header = HeaderChoice::No;
    } else if (EqualsIgnoringAsciiCase(text, "auto")) {
      table.Header = HeaderChoice::Auto;
    } else {
      return Refusal("header choice", text, "yes, no, auto");
    }
  } else if (name == "output_header") {
    table.OutputHeader = std::string(text);
  } else if (name == "replace") {
    table.Replace = text == "1";
  } else {
    std::optional<ColumnChoice>& column = name == "column"            ? table.Column
                                          : name == "measured_column" ? table.MeasuredColumn
                                                                      : table.ComputeAtColumn;
    if (text.empty()) {
      column.reset();
      return std::nullopt;
    }
    const auto parsed = ParseColumn(text);
    if (!parsed) return std::string(name) + " must be a column number from 1 or a name";
    column = *parsed;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ApplyRequestFields(std::span<const WebRequestField> fields,
                                              WebRequest& request) {
  ConvertSettings& s = request.Settings;
  std::optional<float> computeAt;
  std::optional<int> computeAtUnit;
  bool savedSide[2] = {false, false};
  for (const auto& [name, text] : fields) {
    std::optional<std::string> error;
    if (name == "from_unit" || name == "to_unit") {
      error = ChooseUnit(text, name == "from_unit" ? s.FromUnit : s.ToUnit);
    } else if (name == "measured" || name == "compute_at" || name == "increment") {
      const auto number = ParseNumber(text);
      if (text.empty() && name != "measured") {
        (name == "compute_at" ? computeAt : s.Increment).reset();
      } else if (!number) {
        error = NotANumber(name, text);
      } else if (name == "measured") {
        s.Measured.Value = HoldSingle(*number);
      } else {
        (name == "compute_at" ? computeAt : s.Increment) = HoldSingle(*number);
      }
    } else if (name == "measured_unit") {
      error = ChoosePressureUnit(text, s.Measured.Unit);
    } else if (name == "compute_at_unit") {
      if (text.empty()) {
        computeAtUnit.reset();
      } else {
        error = ChoosePressureUnit(text, computeAtUnit.emplace());
      }
    } else if (name == "formula") {
      error = Choose("formula", text, kSwvpFormulaChoices, s.Calc.SwvpFormula);
    } else if (name == "enhancement") {
      error =
          Choose("enhancement factor", text, kEnhancementFactorChoices, s.Calc.EnhancementFactor);
    } else if (name == "gas_method") {
      error = Choose("gas method", text, kGasMethodChoices, s.Calc.GasMethod);
    } else if (name == "raw") {
      s.Raw = text == "1";
    } else if (name.starts_with("from_params.") || name.starts_with("to_params.")) {
      const bool from = name.starts_with("from_params.");
      const std::string_view key = name.substr(from ? 12 : 10);
      if (key == "saved") {
        savedSide[from ? 0 : 1] = text == "1";
      } else {
        error = ApplySideField(from ? "from_params" : "to_params", key, text,
                               savedSide[from ? 0 : 1], from ? s.Calc.From : s.Calc.To);
      }
    } else if (name == "delimiter" || name == "column" || name == "header" ||
               name == "measured_column" || name == "compute_at_column" ||
               name == "output_header" || name == "replace") {
      error = ApplyTableField(name, text, s.Table);
    } else {
      error = "unknown field " + Quoted(name);
    }
    if (error) return error;
  }
  if (computeAtUnit && !computeAt) {
    return "compute_at_unit needs compute_at, the pressure to compute at";
  }
  if (computeAt) s.ComputeAt = PressureSetting{*computeAt, computeAtUnit.value_or(0)};
  return std::nullopt;
}

std::string RequestOptionsJson(const ConvertSettings& settings) {
  const auto unit = [](int index) {
    return MoistureUnitFromIndex(index) ? kMoistureUnits[static_cast<std::size_t>(index)].Name
                                        : std::string_view("");
  };
  const auto side = [](std::string& out, const SideParams& p) {
    out.push_back('{');
    AppendJsonKey(out, "mw");
    AppendJsonNumber(out, p.MolWeight);
    AppendJsonKey(out, "k");
    AppendJsonNumber(out, p.HenryK);
    AppendJsonKey(out, "ambient");
    AppendJsonNumber(out, p.AmbientTempC);
    AppendJsonKey(out, "medium");
    AppendJsonString(out, ChoiceRowOf(kDensityMediumChoices, p.DensityMedium).Name);
    AppendJsonKey(out, "vaporTemp");
    AppendJsonNumber(out, p.VaporTempC);
    AppendJsonKey(out, "saved");
    out.append("true}");
  };
  std::string out = "{";
  AppendJsonKey(out, "fromUnit");
  AppendJsonString(out, unit(settings.FromUnit));
  AppendJsonKey(out, "toUnit");
  AppendJsonString(out, unit(settings.ToUnit));
  AppendJsonKey(out, "measured");
  AppendJsonNumber(out, settings.Measured.Value);
  AppendJsonKey(out, "measuredUnit");
  AppendJsonString(out, PressureUnitName(settings.Measured.Unit));
  AppendJsonKey(out, "computeAt");
  if (settings.ComputeAt) {
    AppendJsonNumber(out, settings.ComputeAt->Value);
    AppendJsonKey(out, "computeAtUnit");
    AppendJsonString(out, PressureUnitName(settings.ComputeAt->Unit));
  } else {
    out.append("null");
  }
  if (settings.Increment) {
    AppendJsonKey(out, "increment");
    AppendJsonNumber(out, *settings.Increment);
  }
  AppendJsonKey(out, "formula");
  AppendJsonString(out, ChoiceRowOf(kSwvpFormulaChoices, settings.Calc.SwvpFormula).Name);
  AppendJsonKey(out, "enhancement");
  AppendJsonString(out,
                   ChoiceRowOf(kEnhancementFactorChoices, settings.Calc.EnhancementFactor).Name);
  AppendJsonKey(out, "gasMethod");
  AppendJsonString(out, ChoiceRowOf(kGasMethodChoices, settings.Calc.GasMethod).Name);
  AppendJsonKey(out, "fromParams");
  side(out, settings.Calc.From);
  AppendJsonKey(out, "toParams");
  side(out, settings.Calc.To);
  out.push_back('}');
  return out;
}

std::string RequestNamesJson() {
  const auto names = [](std::string& out, std::string_view key, const auto& choices) {
    AppendJsonKey(out, key);
    AppendJsonArray(out, choices,
                    [](std::string& o, const auto& c) { AppendJsonString(o, c.Name); });
  };
  std::string out = "{";
  AppendJsonKey(out, "units");
  AppendJsonArray(out, kMoistureUnits, [](std::string& o, const MoistureUnitRow& row) {
    AppendJsonString(o, row.Name);
  });
  AppendJsonKey(out, "pressure_units");
  AppendJsonArray(out, kPressureUnits, [](std::string& o, const PressureUnitRow& row) {
    AppendJsonString(o, PressureUnitName(row.Index));
  });
  names(out, "formulas", kSwvpFormulaChoices);
  names(out, "enhancements", kEnhancementFactorChoices);
  names(out, "gas_methods", kGasMethodChoices);
  names(out, "media", kDensityMediumChoices);
  AppendJsonKey(out, "combinations");
  AppendJsonArray(out, kPhysicsCombinations, [](std::string& o, const PhysicsCombination& c) {
    const std::string_view pair[] = {
        ChoiceRowOf(kSwvpFormulaChoices, c.SwvpFormula).Name,
        ChoiceRowOf(kEnhancementFactorChoices, c.EnhancementFactor).Name};
    AppendJsonStrings(o, pair);
  });
  out.push_back('}');
  return out;
}

}  // namespace tavimor
