#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/number_text.h"
#include "core/single_precision.h"

namespace tavimor {
namespace {

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

}  // namespace
}  // namespace tavimor
