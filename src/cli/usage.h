#pragma once

#include <string_view>

namespace tavimor {

// How the command names itself in its messages.
inline constexpr std::string_view kProgram = "tavimor-convert";

// The full help text of tavimor-convert, and the short text shown after a usage error.
std::string_view ConvertUsage();
std::string_view ConvertUsageHint();

}  // namespace tavimor
