#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// What the module hands to JavaScript is JSON text, composed by these few appenders.

// A UTF-8 text as a JSON string.
void AppendJsonString(std::string& out, std::string_view text);

// A number with every digit JavaScript needs to read back the same double; null for NaN and
// the infinities, which JSON cannot hold.
void AppendJsonNumber(std::string& out, double value);

// "name": as the start of an object member, after a comma unless the object just opened.
void AppendJsonKey(std::string& out, std::string_view name);

// An array of items, each appended by append(out, item).
template <typename Range, typename Append>
void AppendJsonArray(std::string& out, const Range& items, const Append& append) {
  out.push_back('[');
  bool first = true;
  for (const auto& item : items) {
    if (!first) out.push_back(',');
    first = false;
    append(out, item);
  }
  out.push_back(']');
}

// An array of texts.
template <typename Range>
void AppendJsonStrings(std::string& out, const Range& texts) {
  AppendJsonArray(out, texts,
                  [](std::string& o, std::string_view text) { AppendJsonString(o, text); });
}

// A text returned to JavaScript: it stays valid until the module's next call returns one.
const char* ReturnText(std::string text);

}  // namespace tavimor
