#include "cli/convert_options.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "core/number_text.h"
#include "request/block_threads.h"
#include "request/choice_names.h"
#include "store/profile_store.h"
#include "store/saved_selections.h"

namespace tavimor {

namespace {

// The command's own options, beside the request's (RequestFields()): how it reads and
// writes. --help, --version and --accuracy are read while splitting; --ini before the other
// options, so that they override it.
using Applied = std::optional<std::string>;  // the reason a value is refused
using ApplyOwn = Applied (*)(std::string_view option, std::string_view value,
                             ConvertSettings& settings);

struct CommandOption {
  std::string_view Name;
  bool TakesValue;
  ApplyOwn Apply;        // null: read elsewhere
  bool OfTable = false;  // how a table is read and written (ApplyTableOption)
};

std::string Refused(const FieldRefusal& refusal, std::string_view option, std::string_view value) {
  return RefusalMessage(refusal, option, Quoted(refusal.Part.value_or(std::string(value))));
}

std::string BadValue(std::string_view option, std::string_view value, std::string_view expected) {
  return Refused(FieldRefusal{FieldRefusal::Kind::BadNumber, {}, std::string(expected), {}}, option,
                 value);
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

template <std::optional<ColumnChoice> TableSettings::*Column>
Applied ApplyColumn(std::string_view option, std::string_view value, ConvertSettings& settings) {
  const auto column = ParseColumn(value);
  if (!column) return BadValue(option, value, "a column number from 1 or a name");
  settings.Table.*Column = *column;
  return std::nullopt;
}

Applied ApplyDelimiter(std::string_view option, std::string_view value, ConvertSettings& settings) {
  const std::string_view c = value == "\\t" ? "\t" : value;
  if (c.size() != 1 || c[0] == '"' || c[0] == '\r' || c[0] == '\n') {
    return BadValue(option, value, "one character other than a quote (\\t for a tab)");
  }
  settings.Table.Delimiter = c[0];
  return std::nullopt;
}

Applied ApplyHeader(std::string_view option, std::string_view value, ConvertSettings& settings) {
  constexpr std::pair<std::string_view, HeaderChoice> kChoices[] = {
      {"yes", HeaderChoice::Yes}, {"no", HeaderChoice::No}, {"auto", HeaderChoice::Auto}};
  for (const auto& [name, choice] : kChoices) {
    if (EqualsIgnoringAsciiCase(value, name)) {
      settings.Table.Header = choice;
      return std::nullopt;
    }
  }
  return Refused(FieldRefusal{FieldRefusal::Kind::UnknownName, "choice", "yes, no, auto", {}},
                 option, value);
}

Applied ApplyThreads(std::string_view option, std::string_view value, ConvertSettings& settings) {
  const auto threads = ParseListIndex(value, kMaxThreads + 1);
  if (!threads || *threads < 1) {
    return BadValue(option, value, "a number of threads from 1 to " + std::to_string(kMaxThreads));
  }
  settings.Threads = *threads;
  return std::nullopt;
}

constexpr CommandOption kCommandOptions[] = {
    {"--help", false, nullptr},
    {"--version", false, nullptr},
    {"--accuracy", false, nullptr},
    {"--ini", true, nullptr},
    {"--threads", true, ApplyThreads},
    {"--input", true,
     [](std::string_view, std::string_view value, ConvertSettings& s) -> Applied {
       s.InputFile = std::string(value);
       return {};
     }},
    {"--progress", false,
     [](std::string_view, std::string_view, ConvertSettings& s) -> Applied {
       s.Progress = true;
       return {};
     }},
    {"--csv", false,
     [](std::string_view, std::string_view, ConvertSettings& s) -> Applied {
       s.Table.Delimiter = ',';
       return {};
     }},
    {"--tsv", false,
     [](std::string_view, std::string_view, ConvertSettings& s) -> Applied {
       s.Table.Delimiter = '\t';
       return {};
     }},
    {"--delimiter", true, ApplyDelimiter, true},
    {"--column", true, ApplyColumn<&TableSettings::Column>, true},
    {"--header", true, ApplyHeader, true},
    {"--measured-column", true, ApplyColumn<&TableSettings::MeasuredColumn>, true},
    {"--compute-at-column", true, ApplyColumn<&TableSettings::ComputeAtColumn>, true},
    {"--uncertainty-column", true, ApplyColumn<&TableSettings::UncertaintyColumn>, true},
    {"--output-header", true,
     [](std::string_view, std::string_view value, ConvertSettings& s) -> Applied {
       s.Table.OutputHeader = std::string(value);
       return {};
     },
     true},
    {"--replace", false,
     [](std::string_view, std::string_view, ConvertSettings& s) -> Applied {
       s.Table.Replace = true;
       return {};
     },
     true},
};

const CommandOption* CommandOptionNamed(std::string_view name) {
  for (const CommandOption& option : kCommandOptions) {
    if (option.Name == name) return &option;
  }
  return nullptr;
}

// An option for tables by the name other front ends give it: without its dashes, its words
// joined by "_".
const CommandOption* TableOptionNamed(std::string_view name) {
  for (const CommandOption& option : kCommandOptions) {
    const std::string_view words = option.Name.substr(2);
    if (option.OfTable && words.size() == name.size() &&
        std::equal(words.begin(), words.end(), name.begin(),
                   [](char w, char n) { return n != '-' && w == (n == '_' ? '-' : n); })) {
      return &option;
    }
  }
  return nullptr;
}

// Whether an option is one and takes a value: the request's options, then the command's.
std::optional<bool> TakesValue(std::string_view name) {
  if (const RequestField* field = FieldByOption(name)) return field->TakesValue;
  if (const CommandOption* option = CommandOptionNamed(name)) return option->TakesValue;
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
  if (!table.Delimiter &&
      (table.Column || table.Header || table.MeasuredColumn || table.ComputeAtColumn ||
       table.UncertaintyColumn || table.OutputHeader || table.Replace)) {
    return "the options for tables need --csv, --tsv or --delimiter";
  }
  if (table.UncertaintyColumn && settings.FromUncertainty) {
    return "--uncertainty-column gives each row its --uncertainty: give one of the two";
  }
  if (auto unmet = UnmetNeedMessage(settings, true)) return unmet;
  if (settings.Progress && !settings.InputFile) return "--progress needs --input";
  if (settings.Spread && table.Delimiter) return "--spread converts values and lines, not tables";
  return std::nullopt;
}

std::optional<std::string> ApplyOption(std::string_view option, std::string_view value,
                                       ConvertSettings& settings) {
  if (const RequestField* field = FieldByOption(option)) {
    if (auto refusal = field->SetText(settings, value)) return Refused(*refusal, option, value);
    return std::nullopt;
  }
  const CommandOption* own = CommandOptionNamed(option);
  if (own == nullptr || own->Apply == nullptr) return std::nullopt;
  return own->Apply(option, value, settings);
}

}  // namespace

std::optional<std::string> UnmetNeedMessage(const ConvertSettings& settings, bool byOption) {
  const auto unmet = UnmetNeedOf(settings);
  // A compute-at column gives the compute-at pressure.
  if (!unmet || (unmet->Needed == FieldByKeyword("compute_at") && settings.Table.ComputeAtColumn)) {
    return std::nullopt;
  }
  return byOption ? NeedsMessage(unmet->Given->Option, unmet->Needed->Option)
                  : NeedsMessage(unmet->Given->Keyword, unmet->Needed->Keyword);
}

std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string q = "\"";
  q.append(text.substr(0, kShown));
  if (text.size() > kShown) q.append("...");
  q.push_back('"');
  return q;
}

bool IsTableOption(std::string_view name) {
  return TableOptionNamed(name) != nullptr;
}

std::optional<std::string> ApplyTableOption(std::string_view name, std::string_view value,
                                            ConvertSettings& settings) {
  const CommandOption* option = TableOptionNamed(name);
  if (option == nullptr) return "unknown table option " + Quoted(name);
  if (!option->TakesValue && value != "1") return std::nullopt;
  return option->Apply(name, value, settings);
}

std::optional<std::string> ApplySavedSelectionsOption(const CommandLine& line,
                                                      ConvertSettings& settings,
                                                      std::vector<std::string_view>& replacedKeys) {
  std::optional<std::string_view> file;
  for (const auto& [option, value] : line.Options) {
    if (option == "--ini") file = value;
  }
  if (!file) return std::nullopt;
  ProfileFile content = ReadProfileFile(std::filesystem::path(*file));
  if (content.Status != ProfileFileStatus::Ok) {
    return "cannot read the saved selections " + Quoted(*file) + ": " + content.Error;
  }
  replacedKeys = ApplySavedSelections(ProfileReaderForText(std::move(content.Bytes)), settings);
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
    const std::optional<bool> takesValue = TakesValue(name);
    if (!takesValue) {
      parse.Error = "unknown option " + Quoted(name);
      return parse;
    }
    std::string_view value;
    if (*takesValue) {
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
