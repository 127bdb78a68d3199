#include <unistd.h>

#include <iostream>
#include <ostream>
#include <string_view>
#include <vector>

#include "cli/convert_command.h"
#include "cli/descriptor_output.h"

int main(int argc, char** argv) {
  // The C streams are not used, so the C++ streams may keep their own buffers.
  std::ios::sync_with_stdio(false);
  std::cin.tie(nullptr);
  // Standard output through a buffer that keeps the reason of a failed write.
  tavimor::DescriptorOutput output(STDOUT_FILENO);
  std::ostream out(&output);
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return tavimor::RunConvert(args, std::cin, out, std::cerr, isatty(STDERR_FILENO) == 1);
}
