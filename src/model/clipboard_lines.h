#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

// Splits clipboard text into the lines of a list conversion. A line is the text up to a line
// feed; one carriage return just before the line feed is dropped (CR LF and bare LF both
// end a line, and a bare LF keeps the line's last character); a last line without a line
// feed counts too; a line of any length stays one line. Empty text has no lines, and text
// ending in a line feed has no empty line after it. Each returned view points into text.
std::vector<std::string_view> SplitClipboardLines(std::string_view text);

// The output of a list conversion: each result followed by a single line feed.
std::string JoinClipboardResults(const std::vector<std::string>& results);

}  // namespace tavimor
