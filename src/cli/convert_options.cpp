#include "cli/convert_options.h"

#include <array>
#include <filesystem>
#include <fstream>

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

constexpr std::array<OptionSpec, 25> kOptions = {{
    {"--from", true},          {"--to", true},
    {"--measured", true},      {"--compute-at", true},
    {"--formula", true},       {"--enhancement", true},
    {"--gas-method", true},    {"--from-mw", true},
    {"--to-mw", true},         {"--from-k", true},
    {"--to-k", true},          {"--from-ambient", true},
    {"--to-ambient", true},    {"--from-medium", true},
    {"--to-medium", true},     {"--from-vapor-temp", true},
    {"--to-vapor-temp", true}, {"--increment", true},
    {"--raw", false},          {"--help", false},
    {"--ini", true},           {"--threads", true},
    {"--version", false},      {"--spread", false},
    {"--accuracy", false},
}};

// A number read the way a panel field reads it and held in single precision, as the field's
// number is; nothing when the text has no numeric prefix.
std::optional<float> ParseFieldNumber(std::string_view text) {
  if (!ReadsAsNumber(text)) return std::nullopt;
  return HoldSingle(ReadNumber(text));
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
                                                      ConvertSettings& settings) {
  std::optional<std::string_view> file;
  for (const auto& [option, value] : line.Options) {
    if (option == "--ini") file = value;
  }
  if (!file) return std::nullopt;
  const std::filesystem::path path(*file);
  if (std::error_code ec; !std::filesystem::is_regular_file(path, ec) || !std::ifstream(path)) {
    return "cannot read the saved selections " + Quoted(*file);
  }
  PanelSelections saved;
  ReadSavedSelections(ProfileReaderForFile(path), saved, settings.Calc);
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
  return std::nullopt;
}

}  // namespace tavimor
