#include "store/profile_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <optional>
#include <random>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavimor {
namespace {

// A file larger than this is not one Tavimor wrote: saving refuses to rewrite it, so that a
// stray 1 GB file is not copied for the sake of twelve keys. Reading has no such limit.
constexpr std::uintmax_t kMaxRewrittenBytes = 16u * 1024u * 1024u;

bool IsSpaceOrTab(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpaceOrTab(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpaceOrTab(s.back())) s.remove_suffix(1);
  return s;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

ProfileFile ReadWholeFile(const std::filesystem::path& file) {
  ProfileFile result;
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (ec || !std::filesystem::exists(status)) {
    result.Status = ProfileFileStatus::Missing;
    result.Error = "it does not exist";
    return result;
  }
  result.Status = ProfileFileStatus::Failed;
  if (!std::filesystem::is_regular_file(status)) {
    result.Error = "it is not a regular file";
    return result;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    result.Error = std::strerror(errno);
    return result;
  }
  // Read to the end, not to the size seen before: the file may grow or shrink meanwhile.
  try {
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size < result.Bytes.max_size()) result.Bytes.reserve(static_cast<std::size_t>(size));
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
      result.Bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
  } catch (const std::bad_alloc&) {
    result.Bytes = std::string();
    result.Error = "it does not fit in memory";
    return result;
  } catch (const std::length_error&) {
    result.Bytes = std::string();
    result.Error = "it does not fit in memory";
    return result;
  }
  if (in.bad()) {
    result.Bytes = std::string();
    result.Error = "reading failed";
    return result;
  }
  result.Status = ProfileFileStatus::Ok;
  return result;
}

// One line of the file: [Begin, End) is its text without the line ending, Next the start of
// the following line.
struct Line {
  std::size_t Begin = 0;
  std::size_t End = 0;
  std::size_t Next = 0;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t nl = text.find('\n', pos);
    Line line;
    line.Begin = pos;
    if (nl == std::string_view::npos) {
      line.End = text.size();
      line.Next = text.size();
    } else {
      line.End = (nl > pos && text[nl - 1] == '\r') ? nl - 1 : nl;
      line.Next = nl + 1;
    }
    lines.push_back(line);
    pos = line.Next;
  }
  return lines;
}

std::string_view LineText(std::string_view text, const Line& line, bool first) {
  std::string_view s = text.substr(line.Begin, line.End - line.Begin);
  // A UTF-8 byte order mark written by an editor must not hide the first section.
  if (first && s.substr(0, 3) == "\xEF\xBB\xBF") s.remove_prefix(3);
  return s;
}

// The name of a section header line "[Name]", or nothing.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// The key and value of a line "key = value", or nothing for blanks, comments and other text.
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view key = Trim(line.substr(0, eq));
  if (key.empty() || key.front() == ';') return std::nullopt;
  return std::make_pair(key, Trim(line.substr(eq + 1)));
}

// Where a key of a section is in the file: the line holding it, or the line after which a
// new key goes (the last non-blank line of the first section of that name).
struct KeyPlace {
  std::optional<std::size_t> KeyLine;
  std::optional<std::size_t> InsertAfter;
};

KeyPlace FindKey(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                 std::string_view key) {
  KeyPlace place;
  bool inSection = false;
  bool inFirst = false;  // inside the first section of that name, where new keys go
  bool firstDone = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view s = LineText(text, lines[i], i == 0);
    if (auto name = SectionName(s)) {
      if (inFirst) {
        inFirst = false;
        firstDone = true;
      }
      inSection = EqualNoCase(*name, section);
      if (inSection && !firstDone) {
        inFirst = true;
        place.InsertAfter = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (auto kv = KeyValue(s); kv && EqualNoCase(kv->first, key)) {
      place.KeyLine = i;
      return place;
    }
    if (inFirst && !Trim(s).empty()) place.InsertAfter = i;
  }
  return place;
}

std::string_view LineEnding(std::string_view text) {
  const std::size_t nl = text.find('\n');
  if (nl != std::string_view::npos) return (nl > 0 && text[nl - 1] == '\r') ? "\r\n" : "\n";
  return "\n";
}

// Text that would break the line structure of the file or the meaning of a key.
std::optional<std::string> CheckName(std::string_view what, std::string_view s) {
  if (Trim(s).empty()) return std::string(what) + " is empty";
  if (Trim(s) != s) return std::string(what) + " starts or ends with a blank";
  for (char c : s) {
    if (c == '\r' || c == '\n' || c == '\0') return std::string(what) + " holds a line break";
  }
  return std::nullopt;
}

std::optional<std::string> CheckEntry(std::string_view section, std::string_view key,
                                      std::string_view value) {
  if (auto e = CheckName("the section name", section)) return e;
  if (section.find(']') != std::string_view::npos) return "the section name holds ']'";
  if (auto e = CheckName("the key name", key)) return e;
  if (key.find('=') != std::string_view::npos) return "the key name holds '='";
  if (key.front() == '[' || key.front() == ';') return "the key name starts with '[' or ';'";
  for (char c : value) {
    if (c == '\r' || c == '\n' || c == '\0') return "the value holds a line break";
  }
  return std::nullopt;
}

std::string ApplyWrite(std::string text, std::string_view section, std::string_view key,
                       std::string_view value) {
  const std::string_view ending = LineEnding(text);
  const std::vector<Line> lines = SplitLines(text);
  const KeyPlace place = FindKey(text, lines, section, key);
  std::string entry = std::string(key) + "=" + std::string(value);
  if (place.KeyLine) {
    const Line& line = lines[*place.KeyLine];
    std::size_t begin = line.Begin;
    // Keep a byte order mark in front of a key on the first line.
    if (*place.KeyLine == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) begin += 3;
    text.replace(begin, line.End - begin, entry);
    return text;
  }
  if (place.InsertAfter) {
    const Line& line = lines[*place.InsertAfter];
    if (line.Next == line.End) {
      // The section's last line is also the file's last and has no line ending.
      text.insert(line.End, std::string(ending) + entry);
    } else {
      text.insert(line.Next, entry + std::string(ending));
    }
    return text;
  }
  if (!text.empty() && text.back() != '\n') text += ending;
  // Appended piece by piece: "[" + string trips GCC 12's -Wrestrict at -O3.
  text.append("[").append(section).append("]").append(ending).append(entry).append(ending);
  return text;
}

std::string SystemError(int error) {
  return std::error_code(error, std::generic_category()).message();
}

// Writes all bytes to a descriptor; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Replaces the file by the given bytes through a temporary file beside it; on any failure
// the old file is left as it was and the temporary file is removed.
ProfileWriteResult ReplaceFile(const std::filesystem::path& file, std::string_view bytes,
                               std::optional<std::filesystem::perms> mode) {
  ProfileWriteResult result;
  const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : ".";
  std::random_device seed;
  std::mt19937 random(seed());
  std::filesystem::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    std::string name = ".";
    name.append(file.filename().string()).append(".tmp").append(std::to_string(random() % 1000000));
    temp = dir / name;
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    result.Error = "Could not create a file in " + dir.string() + ": " + SystemError(errno);
    return result;
  }
  auto fail = [&](const std::string& what, int error) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    result.Error = what + ": " + SystemError(error);
    return result;
  };
  if (mode) ::fchmod(fd, static_cast<mode_t>(*mode) & 07777);
  if (!WriteAll(fd, bytes)) return fail("Could not write " + temp.string(), errno);
  if (::fsync(fd) != 0) return fail("Could not flush " + temp.string(), errno);
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0) return fail("Could not close " + temp.string(), errno);
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    return fail("Could not replace " + file.string(), errno);
  }
  // Make the rename itself durable; a failure here no longer endangers the data.
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  result.Ok = true;
  return result;
}

}  // namespace

ProfileFile ReadProfileFile(const std::filesystem::path& file) {
  return ReadWholeFile(file);
}

std::string ProfileString(std::string_view text, std::string_view section, std::string_view key,
                          std::size_t maxLength) {
  const std::vector<Line> lines = SplitLines(text);
  const KeyPlace place = FindKey(text, lines, section, key);
  if (!place.KeyLine) return {};
  const auto kv = KeyValue(LineText(text, lines[*place.KeyLine], *place.KeyLine == 0));
  if (!kv) return {};
  return std::string(kv->second.substr(0, maxLength));
}

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::size_t maxLength) {
  const ProfileFile content = ReadWholeFile(file);
  if (content.Status != ProfileFileStatus::Ok) return {};
  return ProfileString(content.Bytes, section, key, maxLength);
}

ProfileWriteResult WriteProfileStrings(
    const std::filesystem::path& file, std::string_view section,
    const std::vector<std::pair<std::string, std::string>>& keyValues) {
  ProfileWriteResult result;
  for (const auto& [key, value] : keyValues) {
    if (auto problem = CheckEntry(section, key, value)) {
      result.Error = "Nothing was saved: " + *problem + ".";
      return result;
    }
  }
  // Write through a symbolic link to its target rather than replacing the link.
  std::error_code ec;
  std::filesystem::path target = file;
  if (std::filesystem::is_symlink(file, ec)) {
    target = std::filesystem::weakly_canonical(file, ec);
    if (ec) {
      result.Error = "Could not follow the link " + file.string() + ": " + ec.message();
      return result;
    }
  }
  if (const std::uintmax_t size = std::filesystem::file_size(target, ec);
      !ec && size > kMaxRewrittenBytes) {
    result.Error = "Nothing was saved: " + target.string() +
                   " is larger than 16 MB, too large for a settings file.";
    return result;
  }
  ProfileFile content = ReadWholeFile(target);
  if (content.Status == ProfileFileStatus::Failed) {
    // Rewriting a file we could not read would lose what it holds.
    result.Error = "Could not read " + target.string() + ": " + content.Error;
    return result;
  }
  std::optional<std::filesystem::perms> mode;
  if (content.Status == ProfileFileStatus::Ok) {
    const auto status = std::filesystem::status(target, ec);
    if (!ec) mode = status.permissions();
  }
  std::string text = std::move(content.Bytes);
  for (const auto& [key, value] : keyValues)
    text = ApplyWrite(std::move(text), section, key, value);
  return ReplaceFile(target, text, mode);
}

}  // namespace tavimor
