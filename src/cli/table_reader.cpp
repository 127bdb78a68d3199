#include "cli/table_reader.h"

#include <algorithm>

namespace tavimor {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

}  // namespace

void SplitRow(std::string_view row, char delimiter, bool first, RowCells& cells) {
  cells.Cells.clear();
  std::size_t begin = first && row.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  std::size_t end = row.size();
  CellState state = CellState::Start;
  for (std::size_t i = begin; i < row.size(); ++i) {
    const char c = row[i];
    if (IsLineBreak(c) && state != CellState::Quoted) {
      end = i;
      break;
    }
    state = NextCellState(state, c, delimiter);
    if (state == CellState::Start) {
      cells.Cells.push_back({begin, i});
      begin = i + 1;
    }
  }
  cells.Cells.push_back({begin, std::max(begin, end)});
  cells.ContentEnd = std::max(begin, end);
  cells.QuoteOpen = state == CellState::Quoted;
}

void CellText(std::string_view raw, std::string& text) {
  text.clear();
  if (!raw.starts_with('"')) {
    text.append(raw);
    return;
  }
  bool quoted = true;
  for (std::size_t i = 1; i < raw.size(); ++i) {
    const char c = raw[i];
    if (quoted && c == '"') {
      if (i + 1 < raw.size() && raw[i + 1] == '"') {
        text.push_back('"');
        ++i;
      } else {
        quoted = false;
      }
      continue;
    }
    text.push_back(c);
  }
}

TableReader::TableReader(std::streambuf* input, char delimiter, std::ostream& flushBeforeWait,
                         std::size_t maxRowBytes)
    : m_input(input),
      m_delimiter(delimiter),
      m_flushBeforeWait(flushBeforeWait),
      m_maxRowBytes(std::max<std::size_t>(maxRowBytes, 1)),
      m_buffer(std::make_unique<char[]>(kChunk)) {}

bool TableReader::hasBuffered() {
  return m_next < m_end || (m_input != nullptr && m_input->in_avail() > 0);
}

// Takes what the input holds without waiting, or waits for one byte when it holds nothing.
bool TableReader::fill() {
  if (m_next < m_end) return true;
  if (m_input == nullptr) return false;
  std::streamsize available = m_input->in_avail();
  if (available <= 0) {
    m_flushBeforeWait.flush();
    // Output that cannot be written ends the reading: nothing read after it could be shown.
    if (!m_flushBeforeWait) return false;
    if (m_input->sgetc() == std::char_traits<char>::eof()) return false;
    available = std::max<std::streamsize>(m_input->in_avail(), 1);
  }
  const std::streamsize got =
      m_input->sgetn(m_buffer.get(), std::min<std::streamsize>(available, kChunk));
  if (got <= 0) return false;
  m_next = 0;
  m_end = static_cast<std::size_t>(got);
  m_fetched += static_cast<uint64_t>(got);
  return true;
}

void TableReader::countLine(char c) {
  if (c == '\r' || !m_afterReturn) ++m_line;
  m_afterReturn = c == '\r';
}

bool TableReader::takeLineFeed() {
  if (m_next == m_end && !hasBuffered()) {
    m_pendingLineFeed = true;
    return false;
  }
  if (!fill() || m_buffer[m_next] != '\n') return false;
  ++m_next;
  m_afterReturn = false;
  return true;
}

RecordReader::Read TableReader::next(std::string& block, std::size_t& lineNumber) {
  const std::size_t start = block.size();
  if (m_pendingLineFeed) {
    // The LF of a CR LF that came after its row was handed over: a blank record, so that
    // it is written back where it stood.
    m_pendingLineFeed = false;
    if (fill() && m_buffer[m_next] == '\n') {
      ++m_next;
      m_afterReturn = false;
      block.push_back('\n');
      lineNumber = m_line - 1;
      return Read::Whole;
    }
  }
  lineNumber = m_line;
  CellState state = CellState::Start;
  if (m_atInputStart) {
    // A byte-order mark belongs to no cell; bytes that only begin like one are cell bytes.
    m_atInputStart = false;
    std::size_t matched = 0;
    while (matched < kByteOrderMark.size() && fill() &&
           m_buffer[m_next] == kByteOrderMark[matched]) {
      block.push_back(m_buffer[m_next++]);
      ++matched;
    }
    if (matched < kByteOrderMark.size()) {
      for (std::size_t k = 0; k < matched; ++k) {
        state = NextCellState(state, kByteOrderMark[k], m_delimiter);
      }
    }
  }
  for (;;) {
    if (!fill()) return block.size() == start ? Read::End : Read::Whole;
    const char* bytes = m_buffer.get();
    const std::size_t room = m_maxRowBytes - (block.size() - start);
    const std::size_t stop = std::min(m_end, m_next + room);
    std::size_t i = m_next;
    char ending = '\0';
    // Locals, not members, in the loop over every byte: a char pointer may alias them.
    const char delimiter = m_delimiter;
    bool afterReturn = m_afterReturn;
    for (; i < stop; ++i) {
      const char c = bytes[i];
      if (IsLineBreak(c)) {
        if (c == '\r' || !afterReturn) ++m_line;
        afterReturn = c == '\r';
        if (state != CellState::Quoted) {
          ending = c;
          ++i;
          break;
        }
        continue;
      }
      afterReturn = false;
      state = NextCellState(state, c, delimiter);
    }
    m_afterReturn = afterReturn;
    block.append(bytes + m_next, i - m_next);
    m_next = i;
    if (ending == '\r' && takeLineFeed()) block.push_back('\n');
    if (ending != '\0') return Read::Whole;
    if (block.size() - start < m_maxRowBytes) continue;
    m_state = state;
    return Read::Cut;
  }
}

std::string TableReader::copyRest(std::ostream& out) {
  std::string chunk;
  for (;;) {
    if (!fill()) {
      out << chunk;
      return {};
    }
    for (; m_next < m_end; ++m_next) {
      const char c = m_buffer[m_next];
      if (IsLineBreak(c)) {
        countLine(c);
        if (m_state != CellState::Quoted) {
          ++m_next;
          out << chunk;
          if (c == '\n') return "\n";
          return takeLineFeed() ? "\r\n" : "\r";
        }
        chunk.push_back(c);
        continue;
      }
      m_afterReturn = false;
      m_state = NextCellState(m_state, c, m_delimiter);
      chunk.push_back(c);
    }
    out << chunk;
    chunk.clear();
  }
}

}  // namespace tavimor
