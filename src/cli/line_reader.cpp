#include "cli/line_reader.h"

namespace tavimor {

RecordReader::Read LineReader::next(std::string& block, std::size_t& lineNumber) {
  if (m_input == nullptr) return Read::End;
  const std::size_t start = block.size();
  bool any = false;
  bool cut = false;
  char last = '\0';
  for (;;) {
    if (m_input->in_avail() <= 0) m_flushBeforeWait.flush();
    const int c = m_input->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      if (!any) return Read::End;
      break;
    }
    any = true;
    ++m_bytesRead;
    if (c == '\n') break;
    last = static_cast<char>(c);
    if (block.size() - start < kKeptLineChars) {
      block.push_back(last);
    } else {
      cut = true;
    }
  }
  if (last == '\r' && !cut) block.pop_back();
  lineNumber = ++m_lines;
  if (lineNumber == 1 && std::string_view(block).substr(start).starts_with("\xEF\xBB\xBF")) {
    block.erase(start, 3);
  }
  return Read::Whole;
}

}  // namespace tavimor
