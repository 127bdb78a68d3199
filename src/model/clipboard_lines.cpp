#include "model/clipboard_lines.h"

namespace tavimor {

std::vector<std::string_view> SplitClipboardLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    const bool lastWithoutFeed = end == std::string_view::npos;
    if (lastWithoutFeed) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    if (!lastWithoutFeed && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    begin = lastWithoutFeed ? text.size() : end + 1;
  }
  return lines;
}

std::string JoinClipboardResults(const std::vector<std::string>& results) {
  std::size_t size = 0;
  for (const std::string& r : results) size += r.size() + 1;
  std::string out;
  out.reserve(size);
  for (const std::string& r : results) {
    out += r;
    out += '\n';
  }
  return out;
}

}  // namespace tavimor
