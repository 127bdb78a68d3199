#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

#include "cli/convert_options.h"
#include "cli/usage.h"

namespace tavimor {

// Exit codes of the command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadValue = 1;  // some value printed "error"
inline constexpr int kExitUsage = 2;
inline constexpr int kExitWriteFailed = 3;  // the results could not be written: stopped there

// The whole command, without the program name in args. Converts the values of args, or
// with none each line of in (or of --input), writing one line per value to out and the
// reasons of "error" lines and usage errors to err; or, with --csv, --tsv or --delimiter, a
// column of the table read there, row by row. errIsTerminal allows --progress. A write to
// out that fails ends the work at once (with a DescriptorOutput under out, its message says
// why). Returns the exit code.
int RunConvert(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
               std::ostream& err, bool errIsTerminal = false);

}  // namespace tavimor
