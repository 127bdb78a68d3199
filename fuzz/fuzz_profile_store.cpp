// The INI store on arbitrary files: reading never fails or runs past its limit; writing a key
// changes one line (or adds the key, or a section holding it) and keeps every other byte;
// reading after writing gives what was written, and every other key reads as before.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "store/profile_store.h"

namespace {

using namespace tavimor;
namespace fs = std::filesystem;

fs::path g_dir;

void RemoveDir() {
  std::error_code ignored;
  fs::remove_all(g_dir, ignored);
}

void Put(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Get(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Names of keys that lines of the file could hold: the text before each '='.
std::vector<std::string> KeysOf(std::string_view text) {
  std::vector<std::string> keys;
  std::size_t pos = 0;
  while (pos < text.size() && keys.size() < 8) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
      keys.emplace_back(TrimBlanks(line.substr(0, eq)));
    }
    pos = end + 1;
  }
  return keys;
}

std::string AnyName(FuzzedDataProvider& in, std::string_view usual) {
  if (in.ConsumeBool()) return std::string(usual);
  return in.ConsumeRandomLengthString(24);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  g_dir = base / ("tavimor-fuzz-ini-" + std::to_string(::getpid()));
  fs::create_directories(g_dir);
  std::atexit(RemoveDir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = AnyName(in, "Tavimor");
  const std::string key = AnyName(in, "ConvCategory");
  const std::string value = in.ConsumeRandomLengthString(64);
  const std::size_t maxLength = in.ConsumeIntegralInRange<std::size_t>(0, 300);
  const std::string before = in.ConsumeRemainingBytesAsString();

  const fs::path file = g_dir / "tavimor.ini";
  Put(file, before);

  std::vector<std::string> others = KeysOf(before);
  std::vector<std::string> othersBefore;
  for (const std::string& k : others) {
    const std::string v = ReadProfileString(file, section, k, 1000);
    FUZZ_CHECK(v.find('\n') == std::string::npos, "a value ran over its line");
    othersBefore.push_back(v);
  }
  const std::string old = ReadProfileString(file, section, key, maxLength);
  FUZZ_CHECK(old.size() <= maxLength, "read %zu > %zu characters", old.size(), maxLength);

  const ProfileWriteResult w = WriteProfileStrings(file, section, {{key, value}});
  const std::string after = Get(file);
  for (const auto& entry : fs::directory_iterator(g_dir)) {
    FUZZ_CHECK(entry.path() == file, "left behind %s", entry.path().c_str());
  }
  if (!w.Ok) {
    FUZZ_CHECK(!w.Error.empty(), "failure without a reason");
    FUZZ_CHECK(after == before, "a refused write changed the file");
    return 0;
  }

  // Read after write; the reader drops blanks around a value, as WIN.INI does.
  const std::string back = ReadProfileString(file, section, key, 1000);
  FUZZ_CHECK(back == TrimBlanks(value), "wrote [%s], read [%s]", value.c_str(), back.c_str());

  // Every byte outside one line is kept: strip the common prefix and suffix; what was removed
  // lies within one line, and what came in is no more than a section header and the entry.
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
    ++prefix;
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  const std::string_view removed =
      std::string_view(before).substr(prefix, before.size() - prefix - suffix);
  const std::string_view added =
      std::string_view(after).substr(prefix, after.size() - prefix - suffix);
  FUZZ_CHECK(removed.find('\n') == std::string_view::npos, "removed a line break");
  const std::size_t most = section.size() + key.size() + value.size() + 2 + 1 + 3 * 2;
  FUZZ_CHECK(added.size() <= most, "added %zu bytes", added.size());

  // A last line that ends in a bare carriage return gets the line feed of the new entry
  // after it, and that CR then ends the line instead of closing its value (blanks before it
  // are then trimmed): no value Tavimor writes can hold a CR, so only that end may change.
  const auto lineEndedAtFinalCr = [](const std::string& v) {
    if (v.empty() || v.back() != '\r') return v;
    return std::string(TrimBlanks(std::string_view(v).substr(0, v.size() - 1)));
  };
  for (std::size_t i = 0; i < others.size(); ++i) {
    if (EqualNoCase(others[i], key)) continue;
    const std::string now = ReadProfileString(file, section, others[i], 1000);
    FUZZ_CHECK(now == othersBefore[i] || now == lineEndedAtFinalCr(othersBefore[i]),
               "key [%s] changed", others[i].c_str());
  }
  return 0;
}
