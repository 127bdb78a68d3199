#include "cli/convert_options.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "core/choice_names.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "store/saved_selections.h"

namespace tavimor {

namespace {

struct OptionSpec {
  std::string_view Name;
  bool TakesValue;
};

constexpr std::array<OptionSpec, 36> kOptions = {{
    {"--from", true},
    {"--to", true},
    {"--measured", true},
    {"--compute-at", true},
    {"--formula", true},
    {"--enhancement", true},
    {"--gas-method", true},
    {"--from-mw", true},
    {"--to-mw", true},
    {"--from-k", true},
    {"--to-k", true},
    {"--from-ambient", true},
    {"--to-ambient", true},
    {"--from-medium", true},
    {"--to-medium", true},
    {"--from-vapor-temp", true},
    {"--to-vapor-temp", true},
    {"--increment", true},
    {"--raw", false},
    {"--help", false},
    {"--ini", true},
    {"--threads", true},
    {"--version", false},
    {"--spread", false},
    {"--accuracy", false},
    {"--csv", false},
    {"--tsv", false},
    {"--delimiter", true},
    {"--input", true},
    {"--column", true},
    {"--header", true},
    {"--measured-column", true},
    {"--compute-at-column", true},
    {"--output-header", true},
    {"--replace", false},
    {"--progress", false},
}};

// A number read the way a panel field reads it and held in single precision, as the field's
// number is; nothing when the text has no numeric prefix.
std::optional<float> ParseFieldNumber(std::string_view text) {
  const auto number = ReadNumberIfAny(text);
  if (!number) return std::nullopt;
  return HoldSingle(*number);
}

std::optional<PressureSetting> ParsePressure(std::string_view text) {
  PressureSetting pressure;
  std::string_view number = text;
  if (const auto comma = text.find(','); comma != std::string_view::npos) {
    number = text.substr(0, comma);
    const auto unit = ParsePressureUnit(text.substr(comma + 1));
    if (!unit) return std::nullopt;
    pressure.Unit = *unit;
  }
  const auto value = ParseFieldNumber(number);
  if (!value) return std::nullopt;
  pressure.Value = *value;
  return pressure;
}

std::string BadValue(std::string_view option, std::string_view value, std::string_view expected) {
  std::string message = "bad value ";
  message.append(Quoted(value)).append(" for ").append(option).append(": ").append(expected);
  return message;
}

std::optional<std::string> ApplySideOption(std::string_view option, std::string_view param,
                                           std::string_view value, SideParams& side) {
  if (param == "medium") {
    const auto medium = ParseChoice(value, kMediumNames);
    if (!medium) return BadValue(option, value, "expected natural-gas, air or vapor");
    side.DensityMedium = *medium;
    return std::nullopt;
  }
  const auto number = ParseFieldNumber(value);
  if (param == "mw" || param == "k") {
    const TypedParam typed = param == "mw" ? TypedParam::MolWeight : TypedParam::HenryK;
    if (!number || !SetTypedParam(side, typed, *number)) {
      return BadValue(option, value, "expected a number above 0");
    }
    return std::nullopt;
  }
  const TypedParam typed = param == "ambient" ? TypedParam::AmbientTempC : TypedParam::VaporTempC;
  if (!number || !SetTypedParam(side, typed, *number)) {
    return BadValue(option, value, "expected a temperature above -80 and below 200 (°C)");
  }
  return std::nullopt;
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
  column.Number = std::stoul(std::string(digits));
  return column;
}

std::optional<std::string> ApplyTableOption(std::string_view option, std::string_view value,
                                            TableSettings& table) {
  if (option == "--csv") {
    table.Delimiter = ',';
  } else if (option == "--tsv") {
    table.Delimiter = '\t';
  } else if (option == "--delimiter") {
    const std::string_view c = value == "\\t" ? "\t" : value;
    if (c.size() != 1 || c[0] == '"' || c[0] == '\r' || c[0] == '\n') {
      return BadValue(option, value, "expected one character other than a quote (\\t for a tab)");
    }
    table.Delimiter = c[0];
  } else if (option == "--header") {
    if (EqualsIgnoringAsciiCase(value, "yes")) {
      table.Header = HeaderChoice::Yes;
    } else if (EqualsIgnoringAsciiCase(value, "no")) {
      table.Header = HeaderChoice::No;
    } else if (EqualsIgnoringAsciiCase(value, "auto")) {
      table.Header = HeaderChoice::Auto;
    } else {
      return BadValue(option, value, "expected yes, no or auto");
    }
  } else if (option == "--output-header") {
    table.OutputHeader = std::string(value);
  } else if (option == "--replace") {
    table.Replace = true;
  } else {
    const auto column = ParseColumn(value);
    if (!column) return BadValue(option, value, "expected a column number from 1 or a name");
    (option == "--column"            ? table.Column
     : option == "--measured-column" ? table.MeasuredColumn
                                     : table.ComputeAtColumn) = *column;
  }
  return std::nullopt;
}

// Options that only make sense together, checked once all are applied.
std::optional<std::string> CheckCombination(const CommandLine& line,
                                            const ConvertSettings& settings) {
  const TableSettings& table = settings.Table;
  if (!line.Values.empty() && (table.Delimiter || settings.InputFile)) {
    return "VALUE arguments cannot go with --input, --csv, --tsv or --delimiter";
  }
  if (table.Delimiter && !table.Column) return "a table (--csv, --tsv, --delimiter) needs --column";
  if (!table.Delimiter && (table.Column || table.Header || table.MeasuredColumn ||
                           table.ComputeAtColumn || table.OutputHeader || table.Replace)) {
    return "the options for tables need --csv, --tsv or --delimiter";
  }
  if (settings.Progress && !settings.InputFile) return "--progress needs --input";
  if (settings.Spread && table.Delimiter) return "--spread converts values and lines, not tables";
  return std::nullopt;
}

std::optional<std::string> ApplyOption(std::string_view option, std::string_view value,
                                       ConvertSettings& settings) {
  if (option == "--from" || option == "--to") {
    const auto unit = ParseMoistureUnit(value);
    if (!unit) return BadValue(option, value, "expected a unit index 0 to 10 or a unit name");
    (option == "--from" ? settings.FromUnit : settings.ToUnit) = *unit;
  } else if (option == "--measured" || option == "--compute-at") {
    const auto pressure = ParsePressure(value);
    if (!pressure) {
      return BadValue(option, value,
                      "expected a number, optionally followed by a comma and a pressure unit "
                      "(0 to 4, mbar, psia, psig, atm, kpa)");
    }
    if (option == "--measured") {
      settings.Measured = *pressure;
    } else {
      settings.ComputeAt = *pressure;
    }
  } else if (option == "--formula") {
    const auto formula = ParseChoice(value, kFormulaNames);
    if (!formula)
      return BadValue(option, value, "expected goff-gratch, hyland-wexler, sonntag or magnus");
    settings.Calc.SwvpFormula = *formula;
  } else if (option == "--enhancement") {
    const auto factor = ParseChoice(value, kEnhancementNames);
    if (!factor) return BadValue(option, value, "expected none, greenspan or bogel");
    settings.Calc.EnhancementFactor = *factor;
  } else if (option == "--gas-method") {
    const auto method = ParseChoice(value, kGasMethodNames);
    if (!method) return BadValue(option, value, "expected igt or astm");
    settings.Calc.GasMethod = *method;
  } else if (option == "--increment") {
    const auto increment = ParseFieldNumber(value);
    if (!increment) return BadValue(option, value, "expected a number");
    settings.Increment = *increment;
  } else if (option == "--threads") {
    const auto threads = ParseListIndex(value, kMaxThreads + 1);
    if (!threads || *threads < 1) {
      return BadValue(option, value, "expected a number of threads from 1 to 16");
    }
    settings.Threads = *threads;
  } else if (option == "--raw") {
    settings.Raw = true;
  } else if (option == "--spread") {
    settings.Spread = true;
  } else if (option == "--input") {
    settings.InputFile = std::string(value);
  } else if (option == "--progress") {
    settings.Progress = true;
  } else if (option == "--csv" || option == "--tsv" || option == "--delimiter" ||
             option == "--column" || option == "--header" || option == "--measured-column" ||
             option == "--compute-at-column" || option == "--output-header" ||
             option == "--replace") {
    return ApplyTableOption(option, value, settings.Table);
  } else if (option.starts_with("--from-")) {
    return ApplySideOption(option, option.substr(7), value, settings.Calc.From);
  } else if (option.starts_with("--to-")) {
    return ApplySideOption(option, option.substr(5), value, settings.Calc.To);
  }
  return std::nullopt;
}

}  // namespace

std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string q = "\"";
  q.append(text.substr(0, kShown));
  if (text.size() > kShown) q.append("...");
  q.push_back('"');
  return q;
}

std::optional<std::string> ApplySavedSelectionsOption(const CommandLine& line,
                                                      ConvertSettings& settings,
                                                      std::vector<std::string_view>& replacedKeys) {
  std::optional<std::string_view> file;
  for (const auto& [option, value] : line.Options) {
    if (option == "--ini") file = value;
  }
  if (!file) return std::nullopt;
  PanelSelections saved;
  SavedSelectionsLoad load =
      LoadSavedSelectionsFile(std::filesystem::path(*file), saved, settings.Calc);
  if (load.Error) return "cannot read the saved selections " + Quoted(*file) + ": " + *load.Error;
  replacedKeys = std::move(load.ReplacedKeys);
  settings.FromUnit = saved.FromUnit;
  settings.ToUnit = saved.ToUnit;
  settings.Measured = {saved.MeasuredPressure, saved.MeasuredPressureUnit};
  if (saved.PressureChoice == kComputeAtMeasured) {
    settings.ComputeAt.reset();
  } else {
    settings.ComputeAt = PressureSetting{saved.ComputePressure, saved.ComputePressureUnit};
  }
  return std::nullopt;
}

CommandLineParse SplitCommandLine(std::span<const std::string_view> args) {
  CommandLineParse parse;
  CommandLine& line = parse.Line;
  // Help, then the version, win over everything else before "--", even over a bad option.
  for (std::string_view arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      line.Help = true;
      return parse;
    }
    if (arg == "--version") line.Version = true;
  }
  if (line.Version) return parse;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    // A negative number such as -40 is a value, not an option.
    if (optionsEnded || !arg.starts_with('-') || ReadsAsNumber(arg)) {
      line.Values.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string_view name = arg;
    std::optional<std::string_view> inlineValue;
    if (const auto equals = arg.find('=');
        arg.starts_with("--") && equals != std::string_view::npos) {
      name = arg.substr(0, equals);
      inlineValue = arg.substr(equals + 1);
    }
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& candidate : kOptions) {
      if (candidate.Name == name) spec = &candidate;
    }
    if (spec == nullptr) {
      parse.Error = "unknown option " + Quoted(name);
      return parse;
    }
    std::string_view value;
    if (spec->TakesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        parse.Error = "option " + std::string(name) + " needs a value";
        return parse;
      }
    } else if (inlineValue) {
      parse.Error = "option " + std::string(name) + " takes no value";
      return parse;
    }
    if (name == "--accuracy") line.Accuracy = true;
    line.Options.emplace_back(name, value);
  }
  return parse;
}

std::optional<std::string> ApplyOptions(const CommandLine& line, ConvertSettings& settings) {
  for (const auto& [option, value] : line.Options) {
    if (auto error = ApplyOption(option, value, settings)) return error;
  }
  return CheckCombination(line, settings);
}

}  // namespace tavimor
