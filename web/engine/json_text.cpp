#include "web/engine/json_text.h"

#include <charconv>
#include <cmath>

#include "core/std_bridge.h"

namespace tavimor {

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\n') {
      out.append("\\n");
    } else if (byte < 0x20) {
      out.append("\\u00");
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
}

void AppendJsonNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out.append("null");
    return;
  }
  char buffer[32];
  const auto result =
      DoubleToChars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
  out.append(buffer, result.ptr);
}

void AppendJsonKey(std::string& out, std::string_view name) {
  if (!out.empty() && out.back() != '{') out.push_back(',');
  AppendJsonString(out, name);
  out.push_back(':');
}

const char* ReturnText(std::string text) {
  static std::string returned;
  returned = std::move(text);
  return returned.c_str();
}

}  // namespace tavimor
