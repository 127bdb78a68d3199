#pragma once

#include <memory>
#include <streambuf>
#include <string>

namespace tavimor {

// Buffered output to a file descriptor (standard output) that keeps why a write failed, so
// that the command can say it ("No space left on device", "Broken pipe" with SIGPIPE
// ignored). After a failed write every later one fails too.
class DescriptorOutput : public std::streambuf {
 public:
  explicit DescriptorOutput(int fd);
  DescriptorOutput(const DescriptorOutput&) = delete;
  DescriptorOutput& operator=(const DescriptorOutput&) = delete;

  // The system's text for the failed write, or "" while every write succeeded.
  const std::string& failure() const { return m_failure; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize n) override;
  int sync() override;

 private:
  bool writeBuffer();

  static constexpr std::size_t kBufferBytes = 64 * 1024;
  int m_fd;
  std::unique_ptr<char[]> m_buffer;
  std::string m_failure;
};

}  // namespace tavimor
