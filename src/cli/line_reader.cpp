#include "cli/line_reader.h"

namespace tavimor {

bool LineReader::waitable() {
  if (m_input->in_avail() > 0) return true;
  m_flushBeforeWait.flush();
  // Output that cannot be written ends the reading: nothing read after it could be shown.
  return static_cast<bool>(m_flushBeforeWait);
}

RecordReader::Read LineReader::next(std::string& block, std::size_t& lineNumber) {
  if (m_input == nullptr) return Read::End;
  using Traits = std::char_traits<char>;
  if (m_pendingLineFeed) {
    m_pendingLineFeed = false;
    if (!waitable()) return Read::End;
    if (m_input->sgetc() == '\n') {
      m_input->sbumpc();
      ++m_bytesRead;
    }
  }
  const std::size_t start = block.size();
  bool any = false;
  for (;;) {
    if (!waitable()) {
      if (!any) return Read::End;
      break;
    }
    const int c = m_input->sbumpc();
    if (c == Traits::eof()) {
      if (!any) return Read::End;
      break;
    }
    any = true;
    ++m_bytesRead;
    if (c == '\n') break;
    if (c == '\r') {
      // A lone CR ends a line as a LF does; the LF of a CR LF is taken with it, or, when it
      // has not come yet, at the next line, so that a live input is never waited for here.
      if (m_input->in_avail() <= 0) {
        m_pendingLineFeed = true;
      } else if (m_input->sgetc() == '\n') {
        m_input->sbumpc();
        ++m_bytesRead;
      }
      break;
    }
    if (block.size() - start < kKeptLineChars) block.push_back(static_cast<char>(c));
  }
  lineNumber = ++m_lines;
  if (lineNumber == 1 && std::string_view(block).substr(start).starts_with("\xEF\xBB\xBF")) {
    block.erase(start, 3);
  }
  return Read::Whole;
}

}  // namespace tavimor
