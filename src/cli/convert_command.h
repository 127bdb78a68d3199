#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/calc_settings.h"

namespace tavimor {

// A pressure as the panel's pressure field and list hold it: the number (single precision,
// as read from the field) and the PressureUnit index of the list.
struct PressureSetting {
  float Value = 1013.25f;
  int Unit = 0;  // mbar
};

// Everything one run of tavimor-convert converts with. Defaults are those of a panel with
// no saved selections. A loader of saved selections fills this before the options of the
// command line override it (see RunConvert).
struct ConvertSettings {
  CalcSettings Calc;
  int FromUnit = 1;  // MoistureUnit index
  int ToUnit = 1;
  PressureSetting Measured;
  std::optional<PressureSetting> ComputeAt;  // nothing: the measured number and unit
  std::optional<float> Increment;            // nothing: no delta column
  bool Raw = false;                          // 17 significant digits instead of display text
  int Threads = 2;                           // threads converting the lines of standard input
};

// The command line split into options and values, without interpreting option values, so
// that saved selections can be loaded between splitting and applying the options.
struct CommandLine {
  bool Help = false;
  bool Version = false;
  std::vector<std::pair<std::string_view, std::string_view>> Options;  // name, value
  std::vector<std::string_view> Values;
};

// Either the split command line or the reason it is not a valid command line.
struct CommandLineParse {
  CommandLine Line;
  std::optional<std::string> Error;
};

CommandLineParse SplitCommandLine(std::span<const std::string_view> args);

// Applies the options in order onto settings (the last of a repeated option wins); returns
// the reason of the first bad option value, or nothing.
std::optional<std::string> ApplyOptions(const CommandLine& line, ConvertSettings& settings);

// True when the text has a numeric prefix within the characters ReadNumber reads; text
// without one is not a number for the command, although a panel field would read it as 0.
bool ReadsAsNumber(std::string_view text);

// The full help text and the short text shown after a usage error.
std::string_view ConvertUsage();
std::string_view ConvertUsageHint();

// Exit codes of the command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadValue = 1;  // some value printed "error", or input/output failed
inline constexpr int kExitUsage = 2;

// The whole command, without the program name in args. Converts the values of args, or
// with none each line of in, writing one line per value to out and the reasons of "error"
// lines and usage errors to err. Returns the exit code.
int RunConvert(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
               std::ostream& err);

}  // namespace tavimor
