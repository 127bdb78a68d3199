#include "model/clipboard_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimor {
namespace {

TEST(SplitClipboardLines, OneLinePerLineFeed) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string_view> lines;
  };
  const Case cases[] = {
      {"CR LF", "10\r\n20\r\n", {"10", "20"}},
      {"bare LF keeps the last character", "10\n20\n", {"10", "20"}},
      {"last line without a line feed", "10\r\n20", {"10", "20"}},
      {"empty text has no line", "", {}},
      {"a lone line feed is one empty line", "\n", {""}},
      {"blank lines stay lines", "1\n\n\r\n2", {"1", "", "", "2"}},
      {"only a CR before the LF is dropped", "5\r\r\n", {"5\r"}},
      {"a CR elsewhere stays", "5\r6\n", {"5\r6"}},
      {"a CR at the very end stays", "7\r", {"7\r"}},
      {"a long line stays one line",
       std::string(30, '1') + "\n2",
       {std::string_view("111111111111111111111111111111"), "2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitClipboardLines(c.text), c.lines);
  }
}

TEST(SplitClipboardLines, TenThousandLinesAreAllKept) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += std::to_string(i) + "\r\n";
  const auto lines = SplitClipboardLines(text);
  ASSERT_EQ(lines.size(), 10000u);
  EXPECT_EQ(lines.front(), "0");
  EXPECT_EQ(lines.back(), "9999");
}

TEST(JoinClipboardResults, EachResultEndsInOneLineFeed) {
  EXPECT_EQ(JoinClipboardResults({}), "");
  EXPECT_EQ(JoinClipboardResults({"9967.6", "", "out of range"}), "9967.6\n\nout of range\n");
}

}  // namespace
}  // namespace tavimor
