#include "cli/convert_command.h"
#include "run_command.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
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
