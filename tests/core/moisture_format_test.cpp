#include <gtest/gtest.h>

#include "core/moisture_format.h"

namespace tavimor {
namespace {

using U = MoistureUnit;

// Expected texts: the program's defining worked examples of the display rule.
TEST(FormatMoistureValue, ChoosesDecimalsByUnitAndSize) {
  struct Case {
    U unit;
    float value;
    const char* expected;
  };
  const Case cases[] = {
      {U::DewPointC, 20.01f, "20.0"},
      {U::DewFrostPointF, 68.018f, "68.0"},
      {U::DewFrostPointC, -0.01f, "-0.0"},
      {U::RelHumidity, 50, "50.0"},
      {U::RelHumidity, 45.678f, "45.68"},
      {U::Ppmv, 23596.998f, "23597.0"},
      {U::Ppmv, 1000, "1000.0"},
      {U::Ppmv, 12.5f, "12.50"},
      {U::PartialPressure, 23.358468f, "23.36"},
      {U::PartialPressure, 6.1f, "6.10"},
      {U::Ppmv, 0.5f, "0.50"},
      {U::PartialPressure, 0.1f, "0.10"},    // just above a tenth: four decimals
      {U::PartialPressure, 0.01f, "0.010"},  // just below a hundredth: six decimals
      {U::Ppmv, 0.0123f, "0.01230"},
      {U::Ppmv, 0.00005f, "0.000050"},
      {U::Ppmv, 0, "0.0"},
      {U::Ppmv, -5, "-5.0"},
      {U::Ppmv, -0.5f, "-0.50"},
      {U::LbsPerMmscf, 1100.7133f, "1100.7"},
      {U::GramsPerM3, 17.290175f, "17.29"},
      {U::PpmwGas, 14646.412f, "14646.4"},
      {U::Ppmv, 10, "10.0"},  // exactly 10 falls to the next row
      {U::Ppmv, 100, "100.0"},
      {U::Ppmv, 1, "1.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(FormatMoistureValue(c.unit, c.value), c.expected);
  }
}

}  // namespace
}  // namespace tavimor
