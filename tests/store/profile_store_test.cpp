#include "store/profile_store.h"
#include "settings_file_test.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <random>

namespace tavimor {
namespace {

using test::WriteProfileString;

namespace fs = std::filesystem;

class ProfileStoreTest : public test::SettingsFileTest {
 protected:
  // Every entry of the folder other than the settings file (temporary files left behind).
  std::vector<std::string> Strays() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) {
      if (e.path() != file_) names.push_back(e.path().filename().string());
    }
    return names;
  }
};

TEST_F(ProfileStoreTest, ReadsKeysAsWinIniDoes) {
  struct Case {
    const char* name;
    std::string file;
    const char* key;
    std::string expected;
  };
  const Case cases[] = {
      {"LF file", "[Tavimor]\nConvCategory=1003\n", "ConvCategory", "1003"},
      {"CRLF file", "[Tavimor]\r\nConvCategory=1003\r\n", "ConvCategory", "1003"},
      {"names ignore case", "[TAVIMOR]\nconvcategory=1002\n", "ConvCategory", "1002"},
      {"blanks around '='", "[Tavimor]\n  ConvCategory \t=  1004  \n", "ConvCategory", "1004"},
      {"blanks inside the value kept", "[Tavimor]\nFromDew=1 2,3\n", "FromDew", "1 2,3"},
      {"first of a repeated key", "[Tavimor]\nK=1\nK=2\n", "K", "1"},
      {"'=' inside the value", "[Tavimor]\nK=a=b\n", "K", "a=b"},
      {"empty value", "[Tavimor]\nK=\n", "K", ""},
      {"no final line break", "[Tavimor]\nK=last", "K", "last"},
      {"section after another", "[A]\nK=a\n[Tavimor]\nK=t\n", "K", "t"},
      {"key only in another section", "[Other]\nK=1\n", "K", ""},
      {"no section at all", "K=1\n", "K", ""},
      {"section name with blanks", "[ Tavimor ]\nK=1\n", "K", "1"},
      {"key in a repeated section", "[Tavimor]\nA=1\n[X]\nB=0\n[tavimor]\nB=2\n", "B", "2"},
      {"comment line is no key", "[Tavimor]\n;K=1\nK=2\n", "K", "2"},
      {"byte order mark", "\xEF\xBB\xBF[Tavimor]\r\nK=7\r\n", "K", "7"},
      {"bare CR is part of the text", "[Tavimor]\rK=1\n", "K", ""},
      {"binary bytes", std::string("[Tavimor]\n\0\xff\x01=x\nK=\x80\x90\n", 20), "K", "\x80\x90"},
      {"cut to 49 characters", "[Tavimor]\nK=" + std::string(60, '9') + "\n", "K",
       std::string(49, '9')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(c.file);
    EXPECT_EQ(ReadProfileString(file_, kProfileSection, c.key), c.expected);
  }
}

TEST_F(ProfileStoreTest, MissingOrUnusableFileReadsAsEmpty) {
  EXPECT_EQ(ReadProfileString(dir_ / "none.ini", kProfileSection, "ConvCategory"), "");
  EXPECT_EQ(ReadProfileString(dir_, kProfileSection, "ConvCategory"), "");
  EXPECT_EQ(ReadProfileString(dir_ / "none" / "x.ini", kProfileSection, "ConvCategory"), "");
}

TEST_F(ProfileStoreTest, TenMegabyteFilesAreReadInOnePass) {
  std::string big;
  big.reserve(10'500'000);
  while (big.size() < 10'000'000) big += "; padding line of a hand-edited settings file\n";
  Put(big + "[Tavimor]\nConvCategory=1004\n");
  EXPECT_EQ(ReadProfileString(file_, kProfileSection, "ConvCategory"), "1004");

  std::mt19937 random(7);
  std::string noise(10'000'000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  Put(noise);
  EXPECT_EQ(ReadProfileString(file_, kProfileSection, "ConvCategory"), "");
  ASSERT_TRUE(WriteProfileString(file_, kProfileSection, "ConvCategory", "1002").Ok);
  EXPECT_EQ(Get().substr(0, noise.size()), noise);
  EXPECT_EQ(ReadProfileString(file_, kProfileSection, "ConvCategory"), "1002");
}

// A settings file of any size is read (taking it for a file of defaults would silently
// ignore it), but one that large was not written by Tavimor, and saving leaves it alone.
TEST_F(ProfileStoreTest, OversizedFileIsReadButNotRewritten) {
  Put("[Tavimor]\nConvCategory=1003\n");
  fs::resize_file(file_, 17u * 1024u * 1024u);
  EXPECT_EQ(ReadProfileString(file_, kProfileSection, "ConvCategory"), "1003");
  const ProfileWriteResult r = WriteProfileString(file_, kProfileSection, "ConvCategory", "1002");
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("16 MB"), std::string::npos) << r.Error;
  EXPECT_EQ(fs::file_size(file_), 17u * 1024u * 1024u);
}

TEST_F(ProfileStoreTest, WritingOneKeyKeepsEveryOtherByte) {
  struct Case {
    const char* name;
    std::string before;
    bool exists;
    std::vector<std::pair<std::string, std::string>> keys;
    std::string after;
  };
  const std::string others =
      "; my settings\r\n[Other]\r\nA = 1\r\n\r\n[Tavimor]\r\nConvCategory=1001\r\n"
      "FromDew=-40,1\r\n  ; note\r\n[Last]\r\nZ=9";
  const Case cases[] = {
      {"new file", "", false, {{"ConvCategory", "1002"}}, "[Tavimor]\nConvCategory=1002\n"},
      {"empty file", "", true, {{"ConvCategory", "1002"}}, "[Tavimor]\nConvCategory=1002\n"},
      {"replace among sections and comments",
       others,
       true,
       {{"ConvCategory", "1002"}},
       "; my settings\r\n[Other]\r\nA = 1\r\n\r\n[Tavimor]\r\nConvCategory=1002\r\n"
       "FromDew=-40,1\r\n  ; note\r\n[Last]\r\nZ=9"},
      {"add to the section after its last line",
       "[Tavimor]\nA=1\n\n[Next]\nB=2\n",
       true,
       {{"K", "v"}},
       "[Tavimor]\nA=1\nK=v\n\n[Next]\nB=2\n"},
      {"add to a section that is the last line", "[Tavimor]", true, {{"K", "v"}}, "[Tavimor]\nK=v"},
      {"append the section, LF",
       "[Other]\nA=1",
       true,
       {{"K", "v"}},
       "[Other]\nA=1\n[Tavimor]\nK=v\n"},
      {"append the section, CRLF",
       "[Other]\r\nA=1\r\n",
       true,
       {{"K", "v"}},
       "[Other]\r\nA=1\r\n[Tavimor]\r\nK=v\r\n"},
      {"names ignore case",
       "[TAVIMOR]\nconvcategory = 1001\n",
       true,
       {{"ConvCategory", "1003"}},
       "[TAVIMOR]\nConvCategory=1003\n"},
      {"first of a repeated key",
       "[Tavimor]\nK=1\nK=2\n",
       true,
       {{"K", "3"}},
       "[Tavimor]\nK=3\nK=2\n"},
      {"first of two sections of the name",
       "[Tavimor]\nA=1\n[X]\n[Tavimor]\nB=2\n",
       true,
       {{"C", "3"}},
       "[Tavimor]\nA=1\nC=3\n[X]\n[Tavimor]\nB=2\n"},
      {"byte order mark kept",
       "\xEF\xBB\xBF[Tavimor]\r\nK=1\r\n",
       true,
       {{"K", "2"}},
       "\xEF\xBB\xBF[Tavimor]\r\nK=2\r\n"},
      {"values written as they are",
       "",
       false,
       {{"FromDew", "\"x\" ;y,1"}},
       "[Tavimor]\nFromDew=\"x\" ;y,1\n"},
      {"several keys in order",
       "[Tavimor]\r\nToPrs=1,0\r\n",
       true,
       {{"FromPrs", "1013.25,0"}, {"ToPrs", "1013.25,0"}, {"ConvCategory", "1001"}},
       "[Tavimor]\r\nToPrs=1013.25,0\r\nFromPrs=1013.25,0\r\nConvCategory=1001\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(file_);
    if (c.exists) Put(c.before);
    const ProfileWriteResult r = WriteProfileStrings(file_, kProfileSection, c.keys);
    EXPECT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(Get(), c.after);
    EXPECT_TRUE(Strays().empty());
    for (const auto& [key, value] : c.keys) {
      EXPECT_EQ(ReadProfileString(file_, kProfileSection, key), value);
    }
  }
}

TEST_F(ProfileStoreTest, RefusesTextThatWouldBreakTheFile) {
  struct Case {
    const char* name;
    std::string section;
    std::string key;
    std::string value;
  };
  const Case cases[] = {
      {"line feed in the value", "Tavimor", "K", "1\n[Evil]"},
      {"carriage return in the value", "Tavimor", "K", "1\r2"},
      {"NUL in the value", "Tavimor", "K", std::string("1\0002", 3)},
      {"'=' in the key", "Tavimor", "K=2", "1"},
      {"empty key", "Tavimor", "", "1"},
      {"key starting a section", "Tavimor", "[K", "1"},
      {"']' in the section", "Ta]vimor", "K", "1"},
  };
  const std::string before = "[Tavimor]\nK=0\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(before);
    const ProfileWriteResult r = WriteProfileString(file_, c.section, c.key, c.value);
    EXPECT_FALSE(r.Ok);
    EXPECT_FALSE(r.Error.empty());
    EXPECT_EQ(Get(), before);
  }
}

TEST_F(ProfileStoreTest, FailedWritesAreReported) {
  struct Case {
    const char* name;
    fs::path target;
  };
  fs::create_directories(dir_ / "sub");
  Put("x");
  const Case cases[] = {
      {"folder missing", dir_ / "missing" / "tavimor.ini"},
      {"parent is a file", file_ / "tavimor.ini"},
      {"target is a folder", dir_ / "sub"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProfileWriteResult r = WriteProfileString(c.target, kProfileSection, "K", "1");
    EXPECT_FALSE(r.Ok);
    EXPECT_FALSE(r.Error.empty());
  }
  EXPECT_TRUE(fs::is_directory(dir_ / "sub"));
  EXPECT_EQ(Get(), "x");
}

TEST_F(ProfileStoreTest, ReadOnlyFolderIsReportedAndFileKept) {
  const std::string before = "; keep me\n[Tavimor]\nConvCategory=1001\n";
  Put(before);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  if (std::ofstream(dir_ / "probe")) {
    GTEST_SKIP() << "running with rights that ignore folder permissions";
  }
  const ProfileWriteResult r = WriteProfileString(file_, kProfileSection, "ConvCategory", "1002");
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find(dir_.string()), std::string::npos) << r.Error;
  EXPECT_EQ(Get(), before);
}

TEST_F(ProfileStoreTest, FullDiskLeavesOldFileAndNoTemporaryFile) {
  // A file size limit makes write() fail the way a full disk does, also for root.
  std::string before = "[Tavimor]\nConvCategory=1001\n";
  before += std::string(4096, ';') + "\n";
  Put(before);
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const ProfileWriteResult r = WriteProfileString(file_, kProfileSection, "ConvCategory", "1002");
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("Could not write"), std::string::npos) << r.Error;
  EXPECT_EQ(Get(), before);
  EXPECT_TRUE(Strays().empty());
}

TEST_F(ProfileStoreTest, KeepsPermissionsAndWritesThroughLinks) {
  Put("[Tavimor]\nK=1\n");
  fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
  const fs::path link = dir_ / "link.ini";
  fs::create_symlink(file_, link);
  ASSERT_TRUE(WriteProfileString(link, kProfileSection, "K", "2").Ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Get(), "[Tavimor]\nK=2\n");
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace tavimor
