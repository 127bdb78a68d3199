#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavimor {

// A WIN.INI-style file: sections "[Name]", lines "key=value". Section and key names match
// without regard to case; values are stored as they are, without quoting or escaping.

// The value of a key of a section, or the empty text when the file, section or key is
// missing or unreadable. At most maxLength characters come back.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::size_t maxLength = 49);

// The same from the text of such a file.
std::string ReadProfileStringFromText(std::string_view text, std::string_view section,
                                      std::string_view key, std::size_t maxLength = 49);

struct ProfileWriteResult {
  bool Ok = false;
  std::string Error;  // what failed, for the user, when !Ok
};

// Creates or replaces keys of one section, keeping every other byte of the file, and
// replaces the file atomically (temporary file beside it, flushed, renamed).
ProfileWriteResult WriteProfileStrings(
    const std::filesystem::path& file, std::string_view section,
    const std::vector<std::pair<std::string, std::string>>& keyValues);

inline constexpr std::string_view kProfileSection = "Tavimor";

}  // namespace tavimor
