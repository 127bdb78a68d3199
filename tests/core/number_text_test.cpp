#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/single_precision.h"

namespace tavimor {
namespace {

float BitCastFloat(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

TEST(ReadNumber, FollowsItsGrammarNotStrtod) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"20", 20},
      {"  -40", -40},
      {"+7", 7},
      {".5", 0.5},
      {"5.", 5},
      {"20.", 20},
      {"1.5e3x", 1500},
      {"1e", 1},
      {"1e+", 1},
      {"2E-2", 0.02},
      {"", 0},
      {"enter new val", 0},
      {"N/A", 0},
      {"Error", 0},
      {"abc", 0},
      {"inf", 0},
      {"nan", 0},
      {"0x10", 0},
      {".", 0},
      {"-", 0},
      {"\t\r\n 12", 12},
      {"12,5", 12},
      {"1013.25", 1013.25},
      // Only the first 14 characters are read.
      {"12345678901234567", 12345678901234},
      {"             7", 7},
      {"              7", 0},
      {"1e999", std::numeric_limits<double>::infinity()},
      {"-1e999", -std::numeric_limits<double>::infinity()},
      {"1e-999", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadNumber(c.text), c.expected);
  }
}

TEST(ReadNumber, OverflowsSinglePrecisionOnceHeld) {
  EXPECT_TRUE(std::isinf(HoldSingle(ReadNumber("1e39"))));
  EXPECT_EQ(HoldSingle(ReadNumber("123.4")), 123.4f);
}

// The expected bits: strtod, correctly rounded in glibc, on the characters a field reads.
TEST(ReadNumber, GivesTheCorrectlyRoundedValueOfShortDecimals) {
  std::mt19937 random(24);
  const auto pick = [&](uint32_t n) { return random() % n; };
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    if (pick(2) == 0) text += "-";
    const uint32_t intDigits = pick(8);
    for (uint32_t d = 0; d < intDigits; ++d) text += static_cast<char>('0' + pick(10));
    if (intDigits == 0 || pick(2) == 0) text += '.';
    const uint32_t fracDigits = pick(intDigits == 0 ? 8 : 7) + (intDigits == 0 ? 1 : 0);
    for (uint32_t d = 0; d < fracDigits; ++d) text += static_cast<char>('0' + pick(10));
    if (pick(3) == 0) text.append("e").append(std::to_string(static_cast<int>(pick(61)) - 30));
    const std::string read = text.substr(0, 14);
    SCOPED_TRACE(read);
    const double expected = std::strtod(read.c_str(), nullptr);
    const double value = ReadNumber(text);
    EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << value << " " << expected;
  }
}

// Expected texts: the program's defining worked examples, plus C's printf by hand.
TEST(FormatSignificant, WritesFixedOrExponentForm) {
  struct Case {
    double value;
    int n;
    const char* expected;
  };
  const Case cases[] = {
      {20, 7, "20."},
      {0, 7, "0."},
      {1013.25, 6, "1013.25"},
      {-40, 5, "-40."},
      {0.0145038, 6, "1.45038e-002"},
      {0.05, 7, "5.e-002"},
      {12345678, 7, "1.234568e+007"},
      {14.696, 7, "14.696"},
      {0.5, 5, "0.5"},
      {101.325, 7, "101.325"},
      {9.9999999, 7, "10."},
      {1e300, 7, "1.e+300"},
      {-1.25e-120, 3, "-1.25e-120"},
      {123.456, 5, "123.46"},
      {static_cast<double>(20.0f * 1.8f + 32.0f), 7, "68."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(FormatSignificant(c.value, c.n), c.expected);
  }
}

TEST(FormatSignificant, ReadsBackToItsDigits) {
  for (double v : {1.0 / 3, 2.0 / 3 * 1e-5, 123456.789, -98765.4321e10, 6.02214076e23}) {
    for (int n = 1; n <= 9; ++n) {
      const std::string text = FormatSignificant(v, n);
      const double back = std::stod(text);
      EXPECT_NEAR(back, v, std::fabs(v) * 5 * std::pow(10.0, -n)) << text;
    }
  }
}

TEST(FormatFixed, RoundsCorrectlyWithTiesToEven) {
  struct Case {
    double value;
    int decimals;
    const char* expected;
  };
  const Case cases[] = {
      {0.125, 2, "0.12"},  // an exact binary tie goes to even
      {0.375, 2, "0.38"},          {2.5, 0, "2"},         {-0.01, 1, "-0.0"},
      {20.000000, 6, "20.000000"}, {1.9f, 6, "1.900000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected);
  }
  EXPECT_EQ(FormatFixedWidth(18, 5, 1), " 18.0");
  EXPECT_EQ(FormatFixedWidth(123456, 5, 1), "123456.0");
}

TEST(FormatFixed, AppendsTheSameTextForAValueHeldInSinglePrecision) {
  for (int decimals = 0; decimals <= 9; ++decimals) {
    std::vector<float> values = {0.0f, -0.0f, std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN(),
                                 std::numeric_limits<float>::max()};
    for (uint64_t bits = 0; bits < (uint64_t{1} << 32); bits += 104729) {
      values.push_back(BitCastFloat(static_cast<uint32_t>(bits)));
    }
    // Exact ties: an odd multiple of 2^-(decimals + 1), either sign.
    for (int odd = 1; odd < 4000; odd += 2) {
      const float tie = std::ldexp(static_cast<float>(odd), -(decimals + 1));
      values.push_back(tie);
      values.push_back(-tie);
    }
    for (const float v : values) {
      // Appended after a text already there.
      std::string text = "x";
      AppendFixed(text, v, decimals);
      std::string expected = "x";
      expected += FormatFixed(v, decimals);
      ASSERT_EQ(text, expected) << decimals << " decimals";
    }
  }
}

}  // namespace
}  // namespace tavimor
