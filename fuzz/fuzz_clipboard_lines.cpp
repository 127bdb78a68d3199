// The clipboard list splitter on arbitrary bytes: one line per line feed (and one for a last
// line without it), every byte of the text in exactly one line except the line ends, and one
// result line per input line when the lines are converted and joined.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/moisture_conversion.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "fuzz_check.h"
#include "model/clipboard_lines.h"

namespace {

using namespace tavimor;

// Converting is the slow part; the splitting itself is checked on every line.
constexpr std::size_t kConvertedLines = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> lines = SplitClipboardLines(text);

  std::size_t feeds = 0;
  for (char c : text) feeds += c == '\n';
  const bool endsOpen = !text.empty() && text.back() != '\n';
  FUZZ_CHECK(lines.size() == feeds + (endsOpen ? 1 : 0), "%zu lines for %zu line feeds",
             lines.size(), feeds);

  // Walk the text: each line is the next stretch of it, followed by LF, CR LF or the end.
  std::size_t pos = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    FUZZ_CHECK(line.data() == text.data() + pos, "line %zu is not where the text is", i);
    FUZZ_CHECK(line.find('\n') == std::string_view::npos, "line %zu holds a line feed", i);
    const std::size_t end = pos + line.size();
    if (end == text.size()) {
      FUZZ_CHECK(i + 1 == lines.size(), "text ended before line %zu", i + 1);
      pos = end;
    } else if (text[end] == '\n') {
      FUZZ_CHECK(line.empty() || line.back() != '\r', "line %zu kept the CR of its CR LF", i);
      pos = end + 1;
    } else {
      FUZZ_CHECK(text.substr(end, 2) == "\r\n", "line %zu was cut inside the text", i);
      pos = end + 2;
    }
  }
  FUZZ_CHECK(pos == text.size(), "%zu bytes in no line", text.size() - pos);

  // Converted as the list conversion does: one result per line, joined by line feeds.
  MoistureInputs inputs;
  CalcSettings settings;
  std::vector<std::string> results;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= kConvertedLines) {
      results.emplace_back("0");
      continue;
    }
    inputs.FromValue = HoldSingle(ReadNumber(lines[i]));
    if (FromValueRangeMessage(inputs.FromListSelection, inputs.FromValue)) {
      results.emplace_back(kOutOfRangeText);
      continue;
    }
    results.push_back(ComputeMoistureResults(inputs, settings).ResultText);
  }
  const std::string joined = JoinClipboardResults(results);
  std::size_t joinedFeeds = 0;
  for (char c : joined) joinedFeeds += c == '\n';
  FUZZ_CHECK(joinedFeeds == lines.size(), "%zu result lines for %zu lines", joinedFeeds,
             lines.size());
  FUZZ_CHECK(SplitClipboardLines(joined).size() == lines.size(), "results do not split back");
  return 0;
}
