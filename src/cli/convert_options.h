#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "request/conversion_request.h"

namespace tavimor {

// A column of a table: its number from 1, or the name in its header row.
struct ColumnChoice {
  std::size_t Number = 0;  // 0: by Name
  std::string Name;
};

enum class HeaderChoice { Auto, Yes, No };

// How a table is read and written (--csv, --tsv, --delimiter and the options for tables).
struct TableSettings {
  std::optional<char> Delimiter;  // nothing: standard input holds one value a line
  std::optional<ColumnChoice> Column;
  std::optional<HeaderChoice> Header;  // nothing: auto
  std::optional<ColumnChoice> MeasuredColumn;
  std::optional<ColumnChoice> ComputeAtColumn;
  std::optional<ColumnChoice> UncertaintyColumn;  // each row's --uncertainty
  std::optional<std::string> OutputHeader;        // nothing: the To unit's name
  bool Replace = false;
};

// Everything one run of tavimor-convert converts with: the request, and how the command
// reads and writes. A loader of saved selections fills it before the options of the command
// line override it (see RunConvert).
struct ConvertSettings : ConversionRequest {
  int Threads = 2;  // threads converting the lines of standard input
  TableSettings Table;
  std::optional<std::string> InputFile;  // nothing: standard input
  bool Progress = false;                 // a progress line while converting InputFile
};

// The command line split into options and values, without interpreting option values, so
// that saved selections can be loaded between splitting and applying the options.
struct CommandLine {
  bool Help = false;
  bool Version = false;
  bool Accuracy = false;  // --accuracy: print the accuracy table, convert nothing
  std::vector<std::pair<std::string_view, std::string_view>> Options;  // name, value
  std::vector<std::string_view> Values;
};

// Either the split command line or the reason it is not a valid command line.
struct CommandLineParse {
  CommandLine Line;
  std::optional<std::string> Error;
};

CommandLineParse SplitCommandLine(std::span<const std::string_view> args);

// The last --ini FILE: the units, pressures, compute-at choice and parameters saved there,
// read by the panel's own parser; the From value saved there is not used. Returns the reason
// when the file cannot be read; replacedKeys gets the keys whose parameter a dialog would
// refuse, loaded as its default.
std::optional<std::string> ApplySavedSelectionsOption(const CommandLine& line,
                                                      ConvertSettings& settings,
                                                      std::vector<std::string_view>& replacedKeys);

// Applies the options in order onto settings (the last of a repeated option wins); returns
// the reason of the first bad option value or of options that do not go together, or
// nothing.
std::optional<std::string> ApplyOptions(const CommandLine& line, ConvertSettings& settings);

// The command's options for how a table is read and written (--delimiter, --column,
// --header, --measured-column, --compute-at-column, --output-header, --replace), for another
// front end that converts tables (the browser): named without their dashes, their words
// joined by "_" ("measured_column"), each with its text; a switch is on for "1". Returns the
// reason of a refused value, naming the option that way.
bool IsTableOption(std::string_view name);
std::optional<std::string> ApplyTableOption(std::string_view name, std::string_view value,
                                            ConvertSettings& settings);

// A field of the request given without the one it needs (UnmetNeedOf; a compute-at column
// gives the compute-at pressure), named by its option or by its keyword; nothing otherwise.
std::optional<std::string> UnmetNeedMessage(const ConvertSettings& settings, bool byOption);

// A text quoted in a message, cut so that a huge argument cannot flood the terminal.
std::string Quoted(std::string_view text);

}  // namespace tavimor
