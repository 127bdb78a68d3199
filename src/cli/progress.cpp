#include "cli/progress.h"

#include <algorithm>
#include <cstdio>

namespace tavimor {

namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(200);

}  // namespace

ProgressLine::ProgressLine(std::ostream& terminal, uint64_t totalBytes)
    : m_terminal(terminal), m_totalBytes(totalBytes), m_start(Clock::now()), m_lastDrawn(m_start) {}

void ProgressLine::update(uint64_t bytesRead, uint64_t records) {
  const Clock::time_point now = Clock::now();
  if (now - m_lastDrawn < kRedrawEvery) return;
  m_lastDrawn = now;
  const double seconds = std::chrono::duration<double>(now - m_start).count();
  char text[96];
  const auto perSecond = static_cast<unsigned long long>(static_cast<double>(records) / seconds);
  if (m_totalBytes > 0) {
    const auto percent =
        static_cast<unsigned>(std::min<uint64_t>(bytesRead * 100 / m_totalBytes, 100));
    std::snprintf(text, sizeof text, "tavimor-convert: %u%%, %llu rows/s", percent, perSecond);
  } else {
    std::snprintf(text, sizeof text, "tavimor-convert: %llu rows, %llu rows/s",
                  static_cast<unsigned long long>(records), perSecond);
  }
  // Carriage return, the text, then erase to the end of the line.
  m_terminal << '\r' << text << "\x1b[K" << std::flush;
  m_shown = true;
}

void ProgressLine::clear() {
  if (!m_shown) return;
  m_terminal << "\r\x1b[K" << std::flush;
  m_shown = false;
}

ProgressLine::ClearingBuffer::int_type ProgressLine::ClearingBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  m_line.clear();
  return m_line.m_terminal.rdbuf()->sputc(traits_type::to_char_type(c));
}

std::streamsize ProgressLine::ClearingBuffer::xsputn(const char* s, std::streamsize n) {
  if (n > 0) m_line.clear();
  return m_line.m_terminal.rdbuf()->sputn(s, n);
}

int ProgressLine::ClearingBuffer::sync() {
  return m_line.m_terminal.rdbuf()->pubsync();
}

}  // namespace tavimor
