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

enum class ProfileFileStatus { Ok, Missing, Failed };

// A whole file read at once, of any size that fits in memory.
struct ProfileFile {
  ProfileFileStatus Status = ProfileFileStatus::Missing;
  std::string Bytes;  // when Ok
  std::string Error;  // why not, for the user, otherwise ("it does not exist" when Missing)
};

ProfileFile ReadProfileFile(const std::filesystem::path& file);

// The value of a key of a section in the text of a file, as ReadProfileString finds it.
std::string ProfileString(std::string_view text, std::string_view section, std::string_view key,
                          std::size_t maxLength = 49);

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
