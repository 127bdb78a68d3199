#include "cli/line_reader.h"

#include <algorithm>

namespace tavimor {

LineReader::LineReader(std::streambuf* input, std::ostream& flushBeforeWait)
    : m_input(input), m_flushBeforeWait(flushBeforeWait), m_buffer(new char[kBufferBytes]) {}

bool LineReader::fill() {
  std::streamsize available = m_input->in_avail();
  if (available <= 0) {
    m_flushBeforeWait.flush();
    // Output that cannot be written ends the reading: nothing read after it could be shown.
    if (!m_flushBeforeWait) return false;
    using Traits = std::char_traits<char>;
    if (Traits::eq_int_type(m_input->sgetc(), Traits::eof())) return false;
    // A stream without a buffer of its own may still say nothing; its one byte is there.
    available = std::max<std::streamsize>(m_input->in_avail(), 1);
  }
  const std::streamsize n = m_input->sgetn(
      m_buffer.get(), std::min(available, static_cast<std::streamsize>(kBufferBytes)));
  m_next = m_buffer.get();
  m_end = m_next + std::max<std::streamsize>(n, 0);
  return m_next != m_end;
}

RecordReader::Read LineReader::next(std::string& block, std::size_t& lineNumber) {
  if (m_input == nullptr) return Read::End;
  if (m_pendingLineFeed) {
    m_pendingLineFeed = false;
    if (m_next == m_end && !fill()) return Read::End;
    if (*m_next == '\n') {
      ++m_next;
      ++m_bytesRead;
    }
  }
  const std::size_t start = block.size();
  bool any = false;
  for (;;) {
    if (m_next == m_end && !fill()) {
      if (!any) return Read::End;
      break;
    }
    any = true;
    const char* lineEnd =
        std::find_if(m_next, m_end, [](char c) { return c == '\n' || c == '\r'; });
    const auto kept = std::min<std::size_t>(static_cast<std::size_t>(lineEnd - m_next),
                                            kKeptLineChars - (block.size() - start));
    block.append(m_next, kept);
    m_bytesRead += static_cast<uint64_t>(lineEnd - m_next);
    m_next = lineEnd;
    if (m_next == m_end) continue;
    ++m_bytesRead;
    if (*m_next++ == '\r') {
      // A lone CR ends a line as a LF does; the LF of a CR LF is taken with it, or, when it
      // has not come yet, at the next line, so that a live input is never waited for here.
      if (m_next == m_end && m_input->in_avail() <= 0) {
        m_pendingLineFeed = true;
      } else if ((m_next != m_end || fill()) && *m_next == '\n') {
        ++m_next;
        ++m_bytesRead;
      }
    }
    break;
  }
  lineNumber = ++m_lines;
  if (lineNumber == 1 && std::string_view(block).substr(start).starts_with("\xEF\xBB\xBF")) {
    block.erase(start, 3);
  }
  return Read::Whole;
}

}  // namespace tavimor
