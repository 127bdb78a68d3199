#pragma once

#include <cstddef>
#include <cstdint>
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
  LineReader(std::streambuf* input, std::ostream& flushBeforeWait)
      : m_input(input), m_flushBeforeWait(flushBeforeWait) {}

  bool hasBuffered() override { return m_input != nullptr && m_input->in_avail() > 0; }

  // Appends the kept characters of the next line to block; its line number is its count.
  Read next(std::string& block, std::size_t& lineNumber) override;

  uint64_t bytesRead() const override { return m_bytesRead; }

 private:
  // Whether the input may be read: flushes first when that could wait, false when the flush
  // failed.
  bool waitable();

  std::streambuf* m_input;
  std::ostream& m_flushBeforeWait;
  std::size_t m_lines = 0;
  uint64_t m_bytesRead = 0;
  bool m_pendingLineFeed = false;  // a CR ended the last line; a LF next belongs to it
};

}  // namespace tavimor
