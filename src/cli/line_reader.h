#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include "cli/block_runner.h"

namespace tavimor {

// Lines of a stream, one at a time, with constant memory: only the first kKeptLineChars
// characters of a line are kept. A line ends with LF, CR LF or a lone CR (old Mac files), a
// last line without a line end still counts, and a byte-order mark at the start of the first
// line, as Windows editors write it, is no part of the first value.
class LineReader : public RecordReader {
 public:
  // Enough for ReadNumber's 14 characters and a byte-order mark.
  static constexpr std::size_t kKeptLineChars = 64;

  // flushBeforeWait is flushed whenever the input has nothing buffered, so that results
  // appear while an interactive user types, yet a file or pipe is still written in blocks.
  // When that flush fails, the input ends there.
  LineReader(std::streambuf* input, std::ostream& flushBeforeWait);

  bool hasBuffered() override {
    return m_next != m_end || (m_input != nullptr && m_input->in_avail() > 0);
  }

  // Appends the kept characters of the next line to block; its line number is its count.
  Read next(std::string& block, std::size_t& lineNumber) override;

  uint64_t bytesRead() const override { return m_bytesRead; }

 private:
  // Takes what the input holds into the empty buffer, waiting only when it holds nothing
  // (after the flush); false at the end of the input or when the flush failed.
  bool fill();

  // The input is taken in pieces, so that a line is found by scanning memory rather than
  // asking the stream for each character.
  static constexpr std::size_t kBufferBytes = 64 * 1024;

  std::streambuf* m_input;
  std::ostream& m_flushBeforeWait;
  std::unique_ptr<char[]> m_buffer;
  const char* m_next = nullptr;  // the unread bytes of the buffer
  const char* m_end = nullptr;
  std::size_t m_lines = 0;
  uint64_t m_bytesRead = 0;
  bool m_pendingLineFeed = false;  // a CR ended the last line; a LF next belongs to it
};

}  // namespace tavimor
