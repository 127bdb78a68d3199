#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <streambuf>

namespace tavimor {

// A progress line on a terminal: the share of the input's bytes read and the records
// converted per second, redrawn in place a few times a second. Messages written through
// messages() clear it first, so that they start on a line of their own.
class ProgressLine {
 public:
  // totalBytes 0: the size is not known, only records are counted.
  ProgressLine(std::ostream& terminal, uint64_t totalBytes);

  std::ostream& messages() { return m_messages; }
  void update(uint64_t bytesRead, uint64_t records);
  void clear();

 private:
  using Clock = std::chrono::steady_clock;

  class ClearingBuffer : public std::streambuf {
   public:
    explicit ClearingBuffer(ProgressLine& line) : m_line(line) {}

   protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

   private:
    ProgressLine& m_line;
  };

  std::ostream& m_terminal;
  uint64_t m_totalBytes;
  Clock::time_point m_start;
  Clock::time_point m_lastDrawn;
  bool m_shown = false;
  ClearingBuffer m_clearing{*this};
  std::ostream m_messages{&m_clearing};
};

}  // namespace tavimor
