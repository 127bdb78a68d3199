#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/convert_command.h"

namespace tavimor::test {

// What one in-process run of tavimor-convert gave.
struct RunOutput {
  int Code;
  std::string Out;
  std::string Err;
};

inline RunOutput RunCommand(std::vector<std::string_view> args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunConvert(args, in, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace tavimor::test
