#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/std_bridge.h"

// The replacements of std_bridge.h against the standard library's own functions, on the
// values the program formats and the texts it reads: any differing digit would change a text
// of the WebAssembly build.
namespace tavimor {
namespace {

double FromBits(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::vector<double> Doubles() {
  std::vector<double> values = {0.0,
                                -0.0,
                                0.5,
                                0.125,  // ties of the binary value at 2 decimals
                                2.5,
                                -2.5,
                                1013.25,
                                23596.998046875,
                                0.0001,
                                1e-5,
                                1e21,
                                9.999999999999999e22,
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::lowest(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  std::mt19937_64 random(20);
  std::uniform_real_distribution<double> exponent(-12, 12);
  for (int i = 0; i < 20000; ++i) {
    values.push_back(FromBits(random()));  // any bit pattern
    const double v = std::pow(10.0, exponent(random));
    values.push_back(i % 2 ? -v : v);
    values.push_back(static_cast<float>(v));        // a value held in single precision
    values.push_back(std::round(v * 1000) / 1000);  // few decimals, near the ties
  }
  return values;
}

TEST(StdBridge, WritesTheDigitsOfToChars) {
  struct Format {
    std::chars_format format;
    int precision;
  };
  const Format formats[] = {{std::chars_format::fixed, 0},       {std::chars_format::fixed, 1},
                            {std::chars_format::fixed, 2},       {std::chars_format::fixed, 6},
                            {std::chars_format::fixed, 9},       {std::chars_format::fixed, 60},
                            {std::chars_format::scientific, 0},  {std::chars_format::scientific, 6},
                            {std::chars_format::scientific, 16}, {std::chars_format::general, 17}};
  char expected[400];
  char bridged[400];
  for (const Format& f : formats) {
    for (const double value : Doubles()) {
      const auto e =
          std::to_chars(expected, expected + sizeof expected, value, f.format, f.precision);
      const auto b =
          BridgedDoubleToChars(bridged, bridged + sizeof bridged, value, f.format, f.precision);
      ASSERT_EQ(b.ec, e.ec) << value;
      if (e.ec != std::errc()) continue;
      ASSERT_EQ(std::string_view(bridged, b.ptr), std::string_view(expected, e.ptr))
          << "format " << static_cast<int>(f.format) << " precision " << f.precision;
    }
  }
  // A buffer too small is refused as to_chars refuses it.
  char small[3];
  EXPECT_EQ(BridgedDoubleToChars(small, small + 3, 1013.25, std::chars_format::fixed, 2).ec,
            std::errc::value_too_large);
}

TEST(StdBridge, ReadsTheBitsOfFromChars) {
  std::vector<std::string> texts = {"0",
                                    "-0",
                                    "1013.25",
                                    "0.1",
                                    "1e",
                                    "1e+",
                                    "2E-2x",
                                    "1e-310",
                                    "4.9e-324",
                                    "2e-324",
                                    "1e-400",
                                    "1e309",
                                    "-1e309",
                                    "00000.0e999999999",
                                    "1.7976931348623159e308",
                                    "inf",
                                    "-Infinity",
                                    "nan",
                                    "",
                                    "-",
                                    ".",
                                    ".5",
                                    "5.",
                                    "+5",
                                    " 5",
                                    "0x10",
                                    "1.5e3x"};
  std::mt19937_64 random(14);
  for (int i = 0; i < 100000; ++i) {
    // Up to 14 characters of digits, a point and an exponent, as a field gives them.
    std::string text = random() % 4 == 0 ? "-" : "";
    const int digits = 1 + static_cast<int>(random() % 12);
    for (int d = 0; d < digits; ++d) text.push_back(static_cast<char>('0' + random() % 10));
    if (random() % 2) text.insert(text.size() - random() % (digits + 1), ".");
    if (random() % 3 == 0) text += "e" + std::to_string(static_cast<int>(random() % 700) - 350);
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    const char* first = text.data();
    const char* last = first + text.size();
    double expected = -1.0;
    double bridged = -1.0;
    const auto e = std::from_chars(first, last, expected, std::chars_format::general);
    const auto b = BridgedDoubleFromChars(first, last, bridged);
    ASSERT_EQ(b.ec, e.ec) << text;
    ASSERT_EQ(b.ptr - first, e.ptr - first) << text;
    ASSERT_EQ(std::signbit(bridged), std::signbit(expected)) << text;
    if (std::isnan(expected)) {
      ASSERT_TRUE(std::isnan(bridged)) << text;
    } else {
      ASSERT_EQ(BitCast<uint64_t>(bridged), BitCast<uint64_t>(expected)) << text;
    }
  }
}

}  // namespace
}  // namespace tavimor
