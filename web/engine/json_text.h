#pragma once

#include <span>
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

// An array of texts.
void AppendJsonStrings(std::string& out, std::span<const std::string> texts);

}  // namespace tavimor
