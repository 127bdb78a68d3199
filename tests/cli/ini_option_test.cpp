#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "run_command.h"

namespace tavimor {
namespace {

test::RunOutput Convert(std::vector<std::string> args, const std::string& input = {}) {
  return test::RunCommand(std::vector<std::string_view>(args.begin(), args.end()), input);
}

class IniOption : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("tavimor-ini-" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::string Write(const std::string& section, const char* name = "tavimor.ini") {
    const auto file = m_dir / name;
    std::ofstream(file, std::ios::binary) << "[Tavimor]\n" << section;
    return file.string();
  }

  std::filesystem::path m_dir;
};

TEST_F(IniOption, StartsFromTheSavedUnitsAndOptionsOverrideThem) {
  // Saved: From dew point °C (the saved From value 99 is not used), To ppmv.
  const std::string ini = Write("FromDew=99,3\nToDew=0,5\nFromPrs=1013.25,0\nToPrs=1013.25,0\n");
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {"saved units", {"--ini", ini, "20"}, "23597.0\n"},
      {"a later --to overrides", {"--ini", ini, "--to", "mbar", "20"}, "23.36\n"},
      {"an earlier --to overrides too", {"--to", "mbar", "--ini", ini, "20"}, "23.36\n"},
      {"values from standard input", {"--ini=" + ini}, "23597.0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::RunOutput run = Convert(c.args, "20\n");
    EXPECT_EQ(run.Code, kExitOk) << run.Err;
    EXPECT_EQ(run.Out, c.out);
  }
}

TEST_F(IniOption, ComputeAtChoiceAndPressuresComeFromTheFile) {
  // Ppmv 23596.998 at the measured 1013.25 mbar, computed at 2026.5 mbar (1017), in mbar.
  const std::string at =
      Write("FromDew=0,5\nToDew=0,0\nFromPrs=1013.25,0\nToPrs=2026.5,0\nIsoAndPrsr=1014,1017\n");
  test::RunOutput run = Convert({"--ini", at, "23596.998"});
  EXPECT_EQ(run.Out, "46.72\n");
  // With 1016 the compute-at pressure is the measured one, whatever ToPrs holds.
  const std::string measured =
      Write("FromDew=0,5\nToDew=0,0\nFromPrs=14.696,1\nToPrs=2026.5,0\nIsoAndPrsr=1014,1016\n");
  run = Convert({"--ini", measured, "23596.998"});
  EXPECT_EQ(run.Out, "23.36\n");
  run = Convert({"--ini", measured, "--compute-at", "2026.5", "23596.998"});
  EXPECT_EQ(run.Out, "46.72\n");
}

TEST_F(IniOption, SideParametersAndFormulasComeFromTheFile) {
  const std::string ini =
      Write("FromDew=0,3\nToDew=0,6\nMW=1,29.000000,8,4.000000\nEquSWVP=1020,1024\n");
  test::RunOutput run = Convert({"--ini", ini, "20"});
  EXPECT_EQ(run.Out, "106186.5\n");  // 23596.998 ppmv x 18 / 4
  run = Convert({"--ini", ini, "--to-mw", "29", "20"});
  EXPECT_EQ(run.Out, "14646.4\n");
}

TEST_F(IniOption, BadFileContentsLoadDefaults) {
  const std::string ini = Write("FromDew=abc,77\nToDew=0,-4\nMW=x\nEquSWVP=1,2\nFromPrs=,\n");
  const test::RunOutput run = Convert({"--ini", ini, "20"});
  EXPECT_EQ(run.Code, kExitOk) << run.Err;
  EXPECT_EQ(run.Out, "20.0\n");
}

// A settings file is never taken silently for defaults: one of any size is read, one that
// cannot be read is refused, and a value its dialog would refuse typed is replaced by its
// default with a warning naming the key, while the rest of the file counts.
TEST_F(IniOption, FilesAreReadWholeOrRefusedAndRefusedValuesAreNamed) {
  const std::string big = Write("ToDew=0,5\n" + std::string(17'000'000, ';') + "\n", "big.ini");
  const std::string refused = Write(
      "ToDew=0,6\nMW=1,-18,1,-18\nHenry=5,-1,5,-1\nTAmbient=0,300,0,300\nTDensity=1039,20,1039,"
      "-80\n");
  const std::filesystem::path fifo = m_dir / "fifo.ini";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto warning = [](const char* key) {
    return "tavimor-convert: warning: the saved selections hold a value for " + std::string(key) +
           " that its dialog refuses; its default is used instead\n";
  };
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {"a 17 MB file is read", {"--ini", big, "10"}, kExitOk, "12252.0\n", ""},
      {"refused values load defaults, the To unit still counts",
       {"--ini", refused, "20"},
       kExitOk,
       "14646.4\n",
       warning("MW") + warning("Henry") + warning("TAmbient") + warning("TDensity")},
      {"a FIFO is refused, not waited for",
       {"--ini", fifo.string(), "10"},
       kExitUsage,
       "",
       "tavimor-convert: cannot read the saved selections " + Quoted(fifo.string()) +
           ": it is not a regular file\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::RunOutput run = Convert(c.args);
    EXPECT_EQ(run.Code, c.code);
    EXPECT_EQ(run.Out, c.out);
    EXPECT_EQ(run.Err, c.err);
  }
}

TEST_F(IniOption, MissingFileIsAUsageError) {
  const test::RunOutput run = Convert({"--ini", (m_dir / "none.ini").string(), "20"});
  EXPECT_EQ(run.Code, kExitUsage);
  EXPECT_NE(run.Err.find("cannot read the saved selections"), std::string::npos);
  EXPECT_EQ(run.Out, "");
}

}  // namespace
}  // namespace tavimor
