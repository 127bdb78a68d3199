#include "cli/descriptor_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tavimor {

DescriptorOutput::DescriptorOutput(int fd) : m_fd(fd), m_buffer(new char[kBufferBytes]) {
  setp(m_buffer.get(), m_buffer.get() + kBufferBytes);
}

bool DescriptorOutput::writeBuffer() {
  if (!m_failure.empty()) return false;
  const char* next = pbase();
  while (next < pptr()) {
    const ssize_t n = ::write(m_fd, next, static_cast<std::size_t>(pptr() - next));
    if (n < 0) {
      if (errno == EINTR) continue;
      m_failure = std::strerror(errno);
      return false;
    }
    next += n;
  }
  setp(m_buffer.get(), m_buffer.get() + kBufferBytes);
  return true;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
  if (!writeBuffer()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize DescriptorOutput::xsputn(const char* text, std::streamsize n) {
  // A line of results fits the buffer in one copy; only a longer text takes the general way.
  if (n <= epptr() - pptr()) {
    std::memcpy(pptr(), text, static_cast<std::size_t>(n));
    pbump(static_cast<int>(n));
    return n;
  }
  return std::streambuf::xsputn(text, n);
}

int DescriptorOutput::sync() {
  return writeBuffer() ? 0 : -1;
}

}  // namespace tavimor
