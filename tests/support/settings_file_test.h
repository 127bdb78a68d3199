#pragma once

// A settings file in a folder of its own for each test, and the ways tests touch it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "store/profile_store.h"

namespace tavimor::test {

// One key, as a test writes it.
inline ProfileWriteResult WriteProfileString(const std::filesystem::path& file,
                                             std::string_view section, std::string_view key,
                                             std::string_view value) {
  return WriteProfileStrings(file, section, {{std::string(key), std::string(value)}});
}

class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::path(testing::TempDir()) /
           (std::string(info->test_suite_name()) + "_" + info->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    file_ = dir_ / "tavimor.ini";
  }
  void TearDown() override {
    // A test may have taken the write permission away.
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    std::filesystem::remove_all(dir_);
  }

  void Put(const std::string& bytes) const {
    std::ofstream out(file_, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string Get() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
  std::filesystem::path file_;
};

}  // namespace tavimor::test
