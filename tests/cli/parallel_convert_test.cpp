#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "run_command.h"

namespace tavimor {
namespace {

using test::RunCommand;
using test::RunOutput;

// Lines a user or a script could send: values across the unit's range and beyond, text
// that is no number, blank lines, CR LF endings and a byte-order mark at the start.
std::string MixedLines(std::size_t count, double lo, double hi) {
  std::mt19937_64 rng(count);
  std::uniform_real_distribution<double> value(lo, hi);
  std::string input = "\xEF\xBB\xBF";
  for (std::size_t i = 0; i < count; ++i) {
    switch (rng() % 16) {
      case 0:
        input += "abc\n";
        break;
      case 1:
        input += "\n";
        break;
      case 2:
        input += std::to_string(value(rng)) + "\r\n";
        break;
      case 3:
        input += std::to_string(hi * 10) + "\n";
        break;
      default:
        input += std::to_string(value(rng)) + "\n";
        break;
    }
  }
  return input;
}

// A logger table of count rows: values as MixedLines makes them, a pressure column that
// holds its value for a while or changes every row, and notes quoted over two lines.
std::string MixedTable(std::size_t count) {
  std::mt19937_64 rng(count);
  std::istringstream values(MixedLines(count, -80, 60));
  std::string table = "time,dp,psig,note\r\n";
  std::string value;
  double psig = 100;
  for (std::size_t i = 0; std::getline(values, value); ++i) {
    if (!value.empty() && value.back() == '\r') value.pop_back();
    if (rng() % 64 == 0 || (i / 1000) % 2 == 1) psig = static_cast<double>(rng() % 20000) / 100;
    table += std::to_string(i) + "," + value + "," + std::to_string(psig) +
             (rng() % 8 == 0 ? ",\"two\r\nlines\"\r\n" : ",ok\r\n");
  }
  return table;
}

// Any number of threads gives the single-threaded output, line for line and in order,
// also on standard error and in the exit code, for blocks large and small.
TEST(ParallelConvert, OutputEqualsTheSingleThreadedRun) {
  struct Case {
    const char* name;
    std::vector<std::string_view> args;
    std::size_t lines;
    double lo;
    double hi;
  };
  const Case cases[] = {
      {"dew point to ppmv", {"--from", "dp-c", "--to", "ppmv"}, 30000, -80, 60},
      {"ppmv to dew/frost point with a delta",
       {"--from", "ppmv", "--to", "dfp-c", "--increment", "5"},
       30000,
       0,
       140000},
      {"lb/MMSCF ASTM to dew point F at 50 bar",
       {"--from", "lb-mmscf", "--to", "dp-f", "--gas-method", "astm", "--measured", "50000"},
       6000,
       0,
       5812},
      {"g/m3 natural gas to dew/frost point, raw",
       {"--from", "g-m3", "--to", "dfp-c", "--raw", "--enhancement", "greenspan"},
       6000,
       0,
       93},
      {"a table with a pressure column, to dew/frost point with a delta",
       {"--csv", "--column", "dp", "--measured-column", "3", "--measured", "0,psig", "--from",
        "dp-c", "--to", "dfp-c", "--enhancement", "bogel", "--increment", "1"},
       30000,
       0,
       0},
      {"a block smaller than worth a second thread",
       {"--from", "dp-c", "--to", "ppmv"},
       100,
       -80,
       60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool table = std::string_view(c.args[0]) == "--csv";
    const std::string input = table ? MixedTable(c.lines) : MixedLines(c.lines, c.lo, c.hi);
    std::vector<std::string_view> single = c.args;
    single.insert(single.end(), {"--threads", "1"});
    const RunOutput expected = RunCommand(single, input);
    ASSERT_FALSE(expected.Out.empty());
    for (std::string_view threads : {"2", "3", "16"}) {
      SCOPED_TRACE(threads);
      std::vector<std::string_view> args = c.args;
      args.insert(args.end(), {"--threads", threads});
      const RunOutput run = RunCommand(args, input);
      EXPECT_EQ(run.Code, expected.Code);
      EXPECT_TRUE(run.Out == expected.Out);
      EXPECT_TRUE(run.Err == expected.Err);
    }
  }
}

TEST(ParallelConvert, ThreadCountOutsideOneToSixteenIsAUsageError) {
  for (std::string_view bad : {"0", "17", "two", "-1", ""}) {
    SCOPED_TRACE(bad);
    const RunOutput run = RunCommand({"--threads", bad, "20"}, "");
    EXPECT_EQ(run.Code, kExitUsage);
    EXPECT_TRUE(run.Out.empty());
  }
}

}  // namespace
}  // namespace tavimor
