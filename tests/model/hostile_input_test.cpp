// Settings files and clipboards that a user, an editor or another program could hand over:
// nothing crashes, hangs or is lost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "core/moisture_conversion.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "model/clipboard_lines.h"
#include "model/moisture_model.h"
#include "settings_file_test.h"
#include "store/profile_store.h"
#include "store/saved_selections.h"

namespace tavimor {
namespace {

using test::WriteProfileString;

namespace fs = std::filesystem;

// A hang ends the test process through SIGALRM instead of stalling the whole run.
class Watchdog {
 public:
  explicit Watchdog(unsigned seconds) { ::alarm(seconds); }
  ~Watchdog() { ::alarm(0); }
};
constexpr unsigned kWatchdogSeconds = 120;

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

class HostileFileTest : public test::SettingsFileTest {
 protected:
  // Temporary files of saves that never finished.
  std::vector<fs::path> Strays() const {
    std::vector<fs::path> strays;
    for (const auto& e : fs::directory_iterator(dir_)) {
      if (e.path() != file_) strays.push_back(e.path());
    }
    return strays;
  }
};

// Everything but the From field and list keeps its default.
void ExpectDefaultsBesidesFrom(const PanelSelections& s, const CalcSettings& c) {
  const PanelSelections d;
  EXPECT_EQ(s.MeasuredPressure, d.MeasuredPressure);
  EXPECT_EQ(s.MeasuredPressureUnit, d.MeasuredPressureUnit);
  EXPECT_EQ(s.ToUnit, d.ToUnit);
  EXPECT_EQ(s.ComputePressure, d.ComputePressure);
  EXPECT_EQ(s.ComputePressureUnit, d.ComputePressureUnit);
  EXPECT_EQ(s.IsobarChoice, d.IsobarChoice);
  EXPECT_EQ(s.PressureChoice, d.PressureChoice);
  const CalcSettings dc;
  EXPECT_EQ(c.SwvpFormula, dc.SwvpFormula);
  EXPECT_EQ(c.EnhancementFactor, dc.EnhancementFactor);
  EXPECT_EQ(c.GasMethod, dc.GasMethod);
  for (const SideParams* side : {&c.From, &c.To}) {
    EXPECT_EQ(side->GasIndex, dc.From.GasIndex);
    EXPECT_EQ(side->MolWeight, dc.From.MolWeight);
    EXPECT_EQ(side->Liquid, dc.From.Liquid);
    EXPECT_EQ(side->HenryK, dc.From.HenryK);
    EXPECT_EQ(side->AmbientTempC, dc.From.AmbientTempC);
    EXPECT_EQ(side->DensityMedium, dc.From.DensityMedium);
    EXPECT_EQ(side->VaporTempC, dc.From.VaporTempC);
  }
}

TEST_F(HostileFileTest, UnusableSettingsFilesLoadDefaultsOrTheFirstValue) {
  const Watchdog watchdog(kWatchdogSeconds);
  struct Case {
    const char* name;
    std::function<void()> make;
    float fromValue;
    int32_t fromUnit;
  };
  const std::string tenMegabyteDigits(10'000'000, '9');
  const Case cases[] = {
      {"missing", [&] {}, 0, 1},
      {"empty", [&] { Put(""); }, 0, 1},
      {"a folder in its place", [&] { fs::create_directory(file_); }, 0, 1},
      // Opening a pipe nobody writes to would block for ever.
      {"a named pipe in its place", [&] { ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0); }, 0, 1},
      {"binary bytes", [&] { Put(RandomBytes(65536, 1)); }, 0, 1},
      {"10 MB of binary bytes", [&] { Put(RandomBytes(10'000'000, 2)); }, 0, 1},
      {"binary bytes around the section",
       [&] { Put(RandomBytes(4096, 3) + "\n[Tavimor]\nFromDew=12.5,5\n" + RandomBytes(4096, 4)); },
       12.5f, 5},
      {"a 10 MB line without a line feed", [&] { Put("[Tavimor]\nFromDew=" + tenMegabyteDigits); },
       0, 1},
      {"a 10 MB line before the key",
       [&] { Put("[Tavimor]\n;" + tenMegabyteDigits + "\nFromDew=-40,3\n"); }, -40, 3},
      {"key repeated: the first value counts",
       [&] { Put("[Tavimor]\r\nFromDew=12.5,5\r\nFromDew=7,3\r\n"); }, 12.5f, 5},
      {"section repeated: the first key counts",
       [&] { Put("[Tavimor]\nA=1\n[Other]\nFromDew=1,1\n[TAVIMOR]\nfromdew=3,2\nFromDew=4,4\n"); },
       3, 2},
      {"NUL bytes inside the line", [&] { Put(std::string("[Tavimor]\nFromDew=2\0,5\n", 23)); }, 2,
       1},
      {"line ends of carriage returns only", [&] { Put("[Tavimor]\rFromDew=12.5,5\r"); }, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(file_);
    c.make();
    PanelSelections s;
    CalcSettings settings;
    ReadSavedSelections(ProfileReaderForFile(file_), s, settings);
    EXPECT_EQ(s.FromValue, c.fromValue);
    EXPECT_EQ(s.FromUnit, c.fromUnit);
    ExpectDefaultsBesidesFrom(s, settings);
  }
}

TEST_F(HostileFileTest, UnreadableSettingsFileLoadsDefaults) {
  Put("[Tavimor]\nFromDew=12.5,5\n");
  fs::permissions(file_, fs::perms::none);
  if (std::ifstream(file_).is_open()) GTEST_SKIP() << "running with rights that ignore permissions";
  PanelSelections s;
  CalcSettings settings;
  ReadSavedSelections(ProfileReaderForFile(file_), s, settings);
  EXPECT_EQ(s.FromValue, 0);
  EXPECT_EQ(s.FromUnit, 1);
  ExpectDefaultsBesidesFrom(s, settings);
}

// Found by fuzzing: a last line ending in a bare CR (a CR LF file cut before its LF) gets the
// new key's line feed after it. Every byte stays; the CR then ends the line and leaves the
// value, which no value Tavimor writes could hold anyway.
TEST_F(HostileFileTest, LastLineEndingInABareCarriageReturnKeepsItsBytes) {
  Put("[Tavimor]\nK=1\r");
  EXPECT_EQ(ReadProfileString(file_, kProfileSection, "K"), "1\r");
  ASSERT_TRUE(WriteProfileString(file_, kProfileSection, "C", "3").Ok);
  EXPECT_EQ(Get(), "[Tavimor]\nK=1\r\nC=3");
  EXPECT_EQ(ReadProfileString(file_, kProfileSection, "K"), "1");
  EXPECT_EQ(ReadProfileString(file_, kProfileSection, "C"), "3");
}

// The file as it stands before and after each save: only the value of Big changes, always to
// one whole run of one letter.
struct SavedVersions {
  std::string Prefix;
  std::string Suffix;
  static constexpr std::size_t kValueSize = 1000;

  std::string With(char letter) const { return Prefix + std::string(kValueSize, letter) + Suffix; }
  // True when the text is exactly one of the versions a save can leave.
  bool IsWhole(const std::string& text) const {
    if (text.size() != Prefix.size() + kValueSize + Suffix.size()) return false;
    if (text.compare(0, Prefix.size(), Prefix) != 0) return false;
    if (text.compare(Prefix.size() + kValueSize, Suffix.size(), Suffix) != 0) return false;
    const char letter = text[Prefix.size()];
    if (letter < 'a' || letter > 'z') return false;
    return text.find_first_not_of(letter, Prefix.size()) == Prefix.size() + kValueSize;
  }
};

TEST_F(HostileFileTest, KilledWriterLeavesTheOldFileOrTheNewOneWhole) {
  const Watchdog watchdog(kWatchdogSeconds);
  SavedVersions versions;
  versions.Prefix = "; written by hand\r\n[Other]\r\nA=1\r\n[Tavimor]\r\nConvCategory=1001\r\nBig=";
  versions.Suffix = "\r\n[Tail]\r\n";
  // A few megabytes, so that a save takes long enough to be caught in the middle.
  for (int i = 0; i < 20'000; ++i) versions.Suffix += "; padding of the tail section\r\n";
  Put(versions.With('a'));

  int caughtInTheMiddle = 0;
  constexpr int kTrials = 8;
  for (int trial = 0; trial < kTrials; ++trial) {
    SCOPED_TRACE(trial);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0; i < 100'000; ++i) {
        const char letter = static_cast<char>('a' + (trial + i) % 26);
        WriteProfileString(file_, kProfileSection, "Big",
                           std::string(SavedVersions::kValueSize, letter));
      }
      ::_exit(0);
    }
    if (trial % 2 == 0) {
      // Kill the writer as soon as its temporary file exists: inside a save.
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
      while (Strays().empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::microseconds(50));
      }
      caughtInTheMiddle += !Strays().empty();
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(3 * trial));
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(versions.IsWhole(Get())) << "the settings file is a mixture or cut short";
    // A killed writer cannot remove its temporary file; the next save is not disturbed by it.
    for (const fs::path& stray : Strays()) fs::remove(stray);
  }
  EXPECT_GT(caughtInTheMiddle, 0) << "no writer was killed inside a save";
  ASSERT_TRUE(
      WriteProfileString(file_, kProfileSection, "Big", std::string(SavedVersions::kValueSize, 'z'))
          .Ok);
  EXPECT_EQ(Get(), versions.With('z'));
}

TEST(HostileClipboard, HugeOrBinaryTextGivesOneResultPerLine) {
  const Watchdog watchdog(kWatchdogSeconds);
  struct Case {
    const char* name;
    std::string text;
    bool convert;  // millions of lines are only split: converting them is the panel's work
  };
  std::string manyLines;
  for (int i = 0; i < 25'000; ++i) manyLines += "-40\r\n123.5\r\nabc\r\n\r\n";
  const Case cases[] = {
      {"10 MB of binary bytes", RandomBytes(10'000'000, 5), true},
      {"10 MB in one line", std::string(10'000'000, '7'), true},
      {"10 MB of carriage returns and line feeds",
       std::string(5'000'000, '\r') + std::string(5'000'000, '\n'), false},
      {"100 000 lines of values, text and blanks", manyLines, true},
  };
  const CalcSettings settings;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string_view> lines = SplitClipboardLines(c.text);
    std::size_t feeds = 0;
    for (char ch : c.text) feeds += ch == '\n';
    const bool lastOpen = !c.text.empty() && c.text.back() != '\n';
    ASSERT_EQ(lines.size(), feeds + (lastOpen ? 1 : 0));
    if (!c.convert) continue;

    // Each line through the field reader, the range check and the recomputation.
    std::vector<std::string> results;
    results.reserve(lines.size());
    MoistureInputs inputs;
    for (std::string_view line : lines) {
      inputs.FromValue = HoldSingle(ReadNumber(line));
      if (FromValueRangeMessage(inputs.FromListSelection, inputs.FromValue)) {
        results.emplace_back(kOutOfRangeText);
        continue;
      }
      results.push_back(ComputeMoistureResults(inputs, settings).ResultText);
    }
    const std::string joined = JoinClipboardResults(results);
    EXPECT_EQ(SplitClipboardLines(joined).size(), lines.size());
  }
}

// The isobar group without a checked button counts as neither "no isobars" nor "measured".
TEST(GraphIsobarsOf, AGroupWithoutACheckedButtonDoublesTheComputeAtPressure) {
  const std::pair<int, GraphIsobars> cases[] = {{kIsobarMeasured, GraphIsobars::AtMeasured},
                                                {kIsobarNone, GraphIsobars::None},
                                                {kIsobarComputed, GraphIsobars::AtComputeAt},
                                                {-1, GraphIsobars::AtComputeAt}};
  for (const auto& [button, isobars] : cases) {
    EXPECT_EQ(GraphIsobarsOf(static_cast<IsobarChoice>(button)), isobars) << button;
  }
}

}  // namespace
}  // namespace tavimor
