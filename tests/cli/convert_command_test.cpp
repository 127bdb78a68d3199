#include "cli/convert_command.h"
#include "run_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "core/number_text.h"

namespace tavimor {
namespace {

using test::RunCommand;
using test::RunOutput;

// Standard input of many identical lines, made up as it is read, so the test itself holds
// no large input.
class RepeatedLines : public std::streambuf {
 public:
  RepeatedLines(std::string line, std::size_t count) : m_line(std::move(line)), m_left(count) {}

 protected:
  int_type underflow() override {
    if (m_left == 0) return traits_type::eof();
    --m_left;
    setg(m_line.data(), m_line.data(), m_line.data() + m_line.size());
    return traits_type::to_int_type(m_line[0]);
  }

 private:
  std::string m_line;
  std::size_t m_left;
};

// Output that only counts lines and checks that each one is the expected text.
class LineCounter : public std::streambuf {
 public:
  explicit LineCounter(std::string expected) : m_expected(std::move(expected)) {}
  std::size_t Lines = 0;
  std::size_t Mismatches = 0;

 protected:
  int_type overflow(int_type c) override {
    if (c == '\n') {
      ++Lines;
      if (m_current != m_expected) ++Mismatches;
      m_current.clear();
    } else if (m_current.size() < 64) {
      m_current.push_back(static_cast<char>(c));
    }
    return c;
  }

 private:
  std::string m_expected;
  std::string m_current;
};

// Output held in a buffer until it is flushed, like a file stream's.
class BufferedSink : public std::streambuf {
 public:
  BufferedSink() { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }
  std::string Delivered;

 protected:
  int_type overflow(int_type c) override {
    sync();
    if (c != traits_type::eof()) Delivered.push_back(static_cast<char>(c));
    return c;
  }
  int sync() override {
    Delivered.append(pbase(), pptr());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return 0;
  }

 private:
  std::array<char, 4096> m_buffer{};
};

// Input that hands out one line at a time with nothing more buffered, as a terminal does,
// and records how much output had been delivered when each further line was asked for.
class TerminalInput : public std::streambuf {
 public:
  TerminalInput(std::vector<std::string> lines, const BufferedSink& out)
      : m_lines(std::move(lines)), m_out(out) {}
  std::vector<std::size_t> DeliveredAtRead;

 protected:
  int_type underflow() override {
    DeliveredAtRead.push_back(m_out.Delivered.size());
    if (m_next == m_lines.size()) return traits_type::eof();
    std::string& line = m_lines[m_next++];
    setg(line.data(), line.data(), line.data() + line.size());
    return traits_type::to_int_type(line[0]);
  }
  std::streamsize showmanyc() override { return 0; }

 private:
  std::vector<std::string> m_lines;
  std::size_t m_next = 0;
  const BufferedSink& m_out;
};

// Input handed out in pieces of the given sizes, as a pipe delivers it; after every other
// piece the stream says that nothing more is buffered, so a reader must wait there.
class PiecewiseInput : public std::streambuf {
 public:
  PiecewiseInput(std::string text, std::vector<std::size_t> sizes)
      : m_text(std::move(text)), m_sizes(std::move(sizes)) {}

 protected:
  int_type underflow() override {
    if (m_begin == m_text.size()) return traits_type::eof();
    const std::size_t size = std::min(m_sizes[m_piece++ % m_sizes.size()], m_text.size() - m_begin);
    setg(m_text.data() + m_begin, m_text.data() + m_begin, m_text.data() + m_begin + size);
    m_begin += size;
    return traits_type::to_int_type(m_text[m_begin - size]);
  }
  std::streamsize showmanyc() override {
    return m_piece % 2 == 0 ? 0 : static_cast<std::streamsize>(m_text.size() - m_begin);
  }

 private:
  std::string m_text;
  std::vector<std::size_t> m_sizes;
  std::size_t m_begin = 0;
  std::size_t m_piece = 0;
};

// Output whose every write fails, like a full disk.
class FailingOutput : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(ConvertCommandLine, SplitsOptionsFromValuesAndNegativeNumbers) {
  struct Case {
    const char* name;
    std::vector<std::string_view> args;
    std::vector<std::string_view> values;
    std::size_t options;
    bool error;
  };
  const Case cases[] = {
      {"negative numbers are values",
       {"-40", "-.5", "+3", "--to", "5"},
       {"-40", "-.5", "+3"},
       1,
       false},
      {"an option value may look like a number", {"--increment", "-1", "7"}, {"7"}, 1, false},
      {"-- ends the options", {"--", "--raw", "-x"}, {"--raw", "-x"}, 0, false},
      {"text that is no option is a value", {"abc", "20degrees"}, {"abc", "20degrees"}, 0, false},
      {"inline value", {"--from=dp-c", "1"}, {"1"}, 1, false},
      {"a dash followed by a letter is an option", {"-e5"}, {}, 0, true},
      {"a lone dash is an option", {"-"}, {}, 0, true},
      {"missing value", {"--to"}, {}, 0, true},
      {"a flag with a value", {"--raw=yes"}, {}, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandLineParse parse = SplitCommandLine(c.args);
    EXPECT_EQ(parse.Error.has_value(), c.error);
    if (c.error) continue;
    EXPECT_EQ(parse.Line.Values, c.values);
    EXPECT_EQ(parse.Line.Options.size(), c.options);
  }
}

TEST(ConvertCommandLine, NumberTestAgreesWithTheFieldReader) {
  // Whatever the command refuses as "not a number" is what a panel field reads as 0.
  const std::string_view texts[] = {
      "",      " ", ".", "-", "+.", "e5", "inf", "nan", "N/A", "enter new val", "              5",
      "\t\r\n"};
  for (std::string_view text : texts) {
    SCOPED_TRACE(std::string(text));
    EXPECT_FALSE(ReadsAsNumber(text));
    EXPECT_EQ(ReadNumber(text), 0.0);
  }
  const std::string_view numbers[] = {
      "0", ".5", "5.", "+7", "-.5e1", "0x10", " \t 12", "1e39", "             5"};
  for (std::string_view text : numbers) {
    SCOPED_TRACE(std::string(text));
    EXPECT_TRUE(ReadsAsNumber(text));
  }
}

TEST(ConvertSettingsTest, OptionsOverrideWhatWasLoadedBefore) {
  // Saved selections fill the settings first; only the options given replace them.
  ConvertSettings settings;
  settings.ComputeAt = PressureSetting{2, 3};
  settings.Calc.To.HenryK = 8.6f;
  const std::string_view args[] = {"--from", "rh",         "--from-ambient",
                                   "20.1",   "--measured", "14.7,psia"};
  const CommandLineParse parse = SplitCommandLine(args);
  ASSERT_FALSE(parse.Error);
  ASSERT_FALSE(ApplyOptions(parse.Line, settings));
  EXPECT_EQ(settings.FromUnit, 9);
  EXPECT_EQ(settings.Calc.From.AmbientTempC, 20.1f);  // held in single precision
  EXPECT_EQ(settings.Measured.Value, 14.7f);
  EXPECT_EQ(settings.Measured.Unit, 1);
  ASSERT_TRUE(settings.ComputeAt);
  EXPECT_EQ(settings.ComputeAt->Unit, 3);
  EXPECT_EQ(settings.Calc.To.HenryK, 8.6f);
}

// The page in the browser takes the command's options for tables by their names without
// dashes: the same settings, and a refusal in the same words naming the option its way.
TEST(ConvertSettingsTest, TableOptionsByTheirOtherFrontEndNames) {
  struct Case {
    std::string_view name;
    std::string_view value;
    std::string_view option;
    std::optional<std::string> refusal;
  };
  const Case cases[] = {
      {"delimiter", ";", "--delimiter", std::nullopt},
      {"column", "Dew", "--column", std::nullopt},
      {"measured_column", "0003", "--measured-column", std::nullopt},
      {"compute_at_column", "4", "--compute-at-column", std::nullopt},
      {"header", "YES", "--header", std::nullopt},
      {"output_header", "ppmv here", "--output-header", std::nullopt},
      {"column", "0", "--column", "column must be a column number from 1 or a name, not \"0\""},
      {"header", "maybe", "--header",
       "header: unknown choice \"maybe\": expected one of yes, no, auto"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    ASSERT_TRUE(IsTableOption(c.name));
    const std::string_view args[] = {"--csv", "--column", "1", c.option, c.value};
    const CommandLineParse parse = SplitCommandLine(args);
    ASSERT_FALSE(parse.Error);
    ConvertSettings byOption;
    const auto error = ApplyOptions(parse.Line, byOption);
    ConvertSettings byName;
    byName.Table.Delimiter = ',';
    byName.Table.Column = ColumnChoice{1, ""};
    EXPECT_EQ(ApplyTableOption(c.name, c.value, byName), c.refusal);
    ASSERT_EQ(error.has_value(), c.refusal.has_value());
    if (c.refusal) continue;
    EXPECT_EQ(byName.Table.Delimiter, byOption.Table.Delimiter);
    const auto column = [](const std::optional<ColumnChoice>& c) {
      return c ? std::to_string(c->Number) + "/" + c->Name : std::string("-");
    };
    EXPECT_EQ(column(byName.Table.Column), column(byOption.Table.Column));
    EXPECT_EQ(column(byName.Table.MeasuredColumn), column(byOption.Table.MeasuredColumn));
    EXPECT_EQ(column(byName.Table.ComputeAtColumn), column(byOption.Table.ComputeAtColumn));
    EXPECT_EQ(byName.Table.Header, byOption.Table.Header);
    EXPECT_EQ(byName.Table.OutputHeader, byOption.Table.OutputHeader);
  }
  // A switch is on for "1" only; names of other options are none of them.
  ConvertSettings settings;
  EXPECT_FALSE(ApplyTableOption("replace", "0", settings));
  EXPECT_FALSE(settings.Table.Replace);
  EXPECT_FALSE(ApplyTableOption("replace", "1", settings));
  EXPECT_TRUE(settings.Table.Replace);
  EXPECT_FALSE(IsTableOption("threads"));
  EXPECT_FALSE(IsTableOption("measured-column"));
}

TEST(ConvertCommand, StreamsManyLinesInOnePass) {
  constexpr std::size_t kLines = 100000;
  RepeatedLines source("20\r\n", kLines);
  std::istream in(&source);
  LineCounter sink("23597.0");
  std::ostream out(&sink);
  std::ostringstream err;
  const std::string_view args[] = {"--from", "dp-c", "--to", "ppmv"};
  EXPECT_EQ(RunConvert(args, in, out, err), kExitOk);
  EXPECT_EQ(sink.Lines, kLines);
  EXPECT_EQ(sink.Mismatches, 0u);
  EXPECT_EQ(err.str(), "");
}

TEST(ConvertCommand, KeepsOnlyTheStartOfAHugeLine) {
  std::string input = "20";
  input.append(10'000'000, 'x');
  input.append("\n \n");
  input.append(10'000'000, ' ');
  const RunOutput r = RunCommand({"--from", "dp-c", "--to", "ppmv"}, input);
  EXPECT_EQ(r.Out, "23597.0\nerror\nerror\n");
  EXPECT_EQ(r.Err, "line 2: not a number\nline 3: not a number\n");
  EXPECT_EQ(r.Code, kExitBadValue);
}

// The lines are the same however the input comes: in pieces of any size, a CR LF or a
// byte-order mark cut between two pieces, a line longer than the reader takes at once. The
// expected lines are those of the same text split here and given as values.
TEST(ConvertCommand, ReadsTheSameLinesHoweverTheInputIsCut) {
  std::mt19937 random(24);
  std::string text = "\xEF\xBB\xBF";
  const char* const ends[] = {"\n", "\r\n", "\r"};
  const char* const values[] = {"20", "-20", "", "  ", "abc", "1e39", "-45.25", "7"};
  for (int i = 0; i < 3000; ++i) {
    text += i == 1500 ? std::string(200000, '1') : values[random() % 8];
    text += ends[random() % 3];
  }
  text += "30";  // a last line without a line end
  std::vector<std::string> lines;
  std::size_t begin = 3;
  for (std::size_t i = begin; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(begin, i - begin));
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    begin = i + 1;
  }
  std::vector<std::string_view> args = {"--from", "dp-c", "--to", "ppmv", "--threads", "1", "--"};
  args.insert(args.end(), lines.begin(), lines.end());
  const RunOutput expected = RunCommand(args);
  ASSERT_EQ(expected.Code, kExitBadValue);

  const std::vector<std::vector<std::size_t>> cuts = {{1},    {2, 1, 5},  {7, 3},
                                                      {4096}, {70000, 1}, {1 << 20}};
  for (const auto& sizes : cuts) {
    SCOPED_TRACE(sizes.front());
    PiecewiseInput input(text, sizes);
    std::istream in(&input);
    std::ostringstream out;
    std::ostringstream err;
    const std::string_view options[] = {"--from", "dp-c", "--to", "ppmv", "--threads", "1"};
    EXPECT_EQ(RunConvert(options, in, out, err), expected.Code);
    EXPECT_EQ(out.str(), expected.Out);
    EXPECT_EQ(err.str(), expected.Err);
  }
}

// A terminal or a live pipe (tail -f of a logger's file): each line or row is converted and
// written before the next is waited for, also the first rows of a table, and a CR LF whose
// LF comes late still goes out whole.
TEST(ConvertCommand, ShowsEachResultBeforeWaitingForTheNextLine) {
  struct Case {
    const char* name;
    std::vector<std::string_view> args;
    std::vector<std::string> input;
    std::vector<std::string> output;  // delivered before each further read
  };
  const Case cases[] = {
      {"lines", {}, {"20\n", "-20\r", "\n30\n"}, {"23597.0\n", "1238.1\n", "43679.5\n"}},
      {"a table",
       {"--csv", "--column", "2"},
       {"t,dp\n", "1,20\n", "2,-20\r", "\n3,30\n"},
       {"t,dp,ppmv\n", "1,20,23597.0\n", "2,-20,1238.1\r", "\n3,30,43679.5\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BufferedSink sink;
    std::ostream out(&sink);
    TerminalInput terminal(c.input, sink);
    std::istream in(&terminal);
    std::ostringstream err;
    std::vector<std::string_view> args = {"--from", "dp-c", "--to", "ppmv"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(RunConvert(args, in, out, err), kExitOk) << err.str();
    ASSERT_EQ(terminal.DeliveredAtRead.size(), c.input.size() + 1);
    std::string expected;
    for (std::size_t i = 0; i < c.output.size(); ++i) {
      expected += c.output[i];
      EXPECT_EQ(sink.Delivered.substr(0, terminal.DeliveredAtRead[i + 1]), expected);
    }
    EXPECT_EQ(sink.Delivered, expected);
  }
}

TEST(ConvertCommand, ReportsOutputThatCannotBeWritten) {
  FailingOutput sink;
  std::ostream out(&sink);
  std::istringstream in;
  std::ostringstream err;
  const std::string_view args[] = {"20"};
  EXPECT_EQ(RunConvert(args, in, out, err), kExitWriteFailed);
  EXPECT_NE(err.str().find("cannot write the results: "), std::string::npos);
}

TEST(ConvertCommand, UsageErrorsConvertNothing) {
  const RunOutput r = RunCommand({"20", "--to", "ppmv", "--from-mw", "-29"});
  EXPECT_EQ(r.Code, kExitUsage);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("--from-mw"), std::string::npos);
}

TEST(ConvertCommand, RawResultsReadBackAsTheHeldValue) {
  const RunOutput r = RunCommand({"--from", "dp-c", "--to", "mbar", "--raw", "20", "-20"});
  ASSERT_EQ(r.Code, kExitOk);
  std::istringstream lines(r.Out);
  std::string line;
  while (std::getline(lines, line)) {
    SCOPED_TRACE(line);
    const float held = static_cast<float>(std::stod(line));
    EXPECT_EQ(static_cast<double>(held), std::stod(line));
  }
}

}  // namespace
}  // namespace tavimor
