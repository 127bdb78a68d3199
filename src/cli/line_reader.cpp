#include "cli/line_reader.h"

namespace tavimor {

bool LineReader::next(std::string& line) {
  line.clear();
  if (m_input == nullptr) return false;
  bool any = false;
  bool cut = false;
  char last = '\0';
  for (;;) {
    if (m_input->in_avail() <= 0) m_flushBeforeWait.flush();
    const int c = m_input->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      if (!any) return false;
      break;
    }
    any = true;
    if (c == '\n') break;
    last = static_cast<char>(c);
    if (line.size() < kKeptLineChars) {
      line.push_back(last);
    } else {
      cut = true;
    }
  }
  if (last == '\r' && !cut) line.pop_back();
  return true;
}

}  // namespace tavimor
