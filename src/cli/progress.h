#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

namespace tavimor {

// A progress line on a terminal: the share of the input's bytes read and the records
// converted per second, redrawn a few times a second in place and cleared before anything
// else is written to the terminal.
class ProgressLine {
 public:
  // totalBytes 0: the size is not known, only records are counted.
  ProgressLine(std::ostream& terminal, uint64_t totalBytes);

  void update(uint64_t bytesRead, uint64_t records);
  void clear();

 private:
  using Clock = std::chrono::steady_clock;

  std::ostream& m_terminal;
  uint64_t m_totalBytes;
  Clock::time_point m_start;
  Clock::time_point m_lastDrawn;
  bool m_shown = false;
};

}  // namespace tavimor
