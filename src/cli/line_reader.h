#pragma once

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>

namespace tavimor {

// Lines of a stream, one at a time, with constant memory: only the first kKeptLineChars
// characters of a line are kept. A carriage return that ends a line is dropped, and a last
// line without a line feed still counts.
class LineReader {
 public:
  // Enough for ReadNumber's 14 characters and a byte-order mark.
  static constexpr std::size_t kKeptLineChars = 64;

  // flushBeforeWait is flushed whenever the input has nothing buffered, so that results
  // appear while an interactive user types, yet a file or pipe is still written in blocks.
  LineReader(std::streambuf* input, std::ostream& flushBeforeWait)
      : m_input(input), m_flushBeforeWait(flushBeforeWait) {}

  // True when the next character can be read without waiting for the input.
  bool hasBuffered() { return m_input != nullptr && m_input->in_avail() > 0; }

  // The next line into line; false at the end of the input.
  bool next(std::string& line);

 private:
  std::streambuf* m_input;
  std::ostream& m_flushBeforeWait;
};

}  // namespace tavimor
