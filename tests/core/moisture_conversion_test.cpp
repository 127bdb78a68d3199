#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/moisture_conversion.h"
#include "core/number_text.h"
#include "core/single_precision.h"

namespace tavimor {
namespace {

TEST(FromValueRange, AcceptsBoundsAndRejectsOutsideWithTheUnitsMessage) {
  struct Case {
    int unit;
    const char* text;
    const char* message;  // nullptr when accepted
  };
  const Case cases[] = {
      {0, "123.4", nullptr},
      {0, "123.41", "stay between 0 and 123.4 mb."},
      {0, "-0.01", "stay between 0 and 123.4 mb."},
      {1, "-140", nullptr},
      {1, "50", nullptr},
      {1, "-140.5", "stay between -140°C and +50°C"},
      {1, "50.01", "stay between -140°C and +50°C"},
      {2, "-220", nullptr},
      {2, "122", nullptr},
      {2, "-220.5", "stay between -220°F and +122°F"},
      {2, "122.01", "stay between -220°F and +122°F"},
      {3, "-500", nullptr},
      {4, "1e30", nullptr},
      {5, "138670", nullptr},
      {5, "138671", "stay between 0 and 138670 ppm"},
      {6, "-1", "stay between 0 and 138670 ppm"},
      {7, "5812", nullptr},
      {7, "5812.5", "stay between 0 and 5812 lbs/mm'³"},
      {8, "93.01", "stay between 0 and 93 g/m³"},
      {9, "250", nullptr},
      {10, "138670.1", "stay between 0 and 138670 ppm"},
      {0, "abc", nullptr},
      {0, "1e39", "stay between 0 and 123.4 mb."},  // infinite once held
      {-1, "500", nullptr},                         // no unit selected: no check
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.unit) + " " + c.text);
    const auto message = FromValueRangeMessage(c.unit, HoldSingle(ReadNumber(c.text)));
    if (c.message == nullptr) {
      EXPECT_FALSE(message.has_value());
    } else {
      ASSERT_TRUE(message.has_value());
      EXPECT_EQ(*message, c.message);
    }
  }
  EXPECT_TRUE(FromValueRangeMessage(0, NAN).has_value());
}

// Expected values: the defining worked examples, checked by hand (1 / 0.00098692 = 1013.2534).
TEST(PressureReading, ConvertsAndRoundsToHundredthsOfMillibar) {
  struct Case {
    float value;
    int unit;
    const char* mbar;
  };
  const Case cases[] = {
      {1, 3, "1013.25"},       {0, 2, "1013.25"},        {14.6959f, 1, "1013.24"},
      {14.696f, 1, "1013.25"}, {101.325f, 4, "1013.25"}, {1013.25f, 0, "1013.25"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mbar);
    EXPECT_EQ(FormatFixed(ReadPressureMbar(c.value, c.unit), 2), c.mbar);
  }
  EXPECT_TRUE(std::isnan(ReadPressureMbar(1, 5)));
  EXPECT_TRUE(std::isnan(ReadPressureMbar(1, -1)));
}

TEST(PressureReading, ExpressesMillibarInEveryUnit) {
  struct Case {
    int unit;
    const char* text;
  };
  const Case cases[] = {{0, "1013.25"}, {1, "14.696"}, {2, "0."}, {3, "1."}, {4, "101.325"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatSignificant(PressureFromMbar(1013.25f, c.unit), 7), c.text);
  }
}

MoistureInputs Inputs(int from, float value, int to, float increment = 0) {
  MoistureInputs in;
  in.FromUnit = in.FromListSelection = from;
  in.ToListSelection = to;
  in.FromValue = value;
  in.Increment = increment;
  return in;
}

// Expected texts: the panel's defining worked examples of result and delta combinations.
TEST(ComputeMoistureResults, WritesResultAndDeltaTexts) {
  struct Case {
    const char* name;
    MoistureInputs in;
    const char* result;
    const char* delta;
  };
  MoistureInputs hotPressure = Inputs(5, 1000, 3, 0);
  hotPressure.ComputePressure = 0;
  MoistureInputs psig = Inputs(3, 20, 5);
  psig.MeasuredPressure = 0;
  psig.MeasuredPressureUnit = 2;
  const Case cases[] = {
      {"dew point 20 °C to ppmv", Inputs(3, 20, 5), "23597.0", "0.0"},
      {"PSIG 0 is standard pressure", psig, "23597.0", "0.0"},
      {"defaults: 0 °C dew/frost to itself", Inputs(1, 0, 1), "-0.0", "0.0"},
      {"increment in ppmv", Inputs(5, 1000, 5, 10), "1000.0", "10.0"},
      {"negative delta of an amount", Inputs(5, 1000, 5, -0.5f), "1000.0", "-0.50"},
      {"result out of range, increment too", Inputs(0, 250, 3, 1), "out of range", "out of range"},
      {"result out of range, increment fine", Inputs(0, 250, 3, -240), "out of range", "n/a"},
      {"From value cannot convert", Inputs(7, 1e7f, 5, 0), "out of range", "out of range"},
      {"From fails, increment converts", Inputs(7, 1e7f, 5, -1e7f + 10), "out of range", "n/a"},
      {"compute-at pressure 0", hotPressure, "out of range", "out of range"},
      {"no To selection", Inputs(5, 10, -1), "out of range", "out of range"},
      {"value overflowing single precision", Inputs(5, INFINITY, 5), "out of range",
       "out of range"},
  };
  const CalcSettings settings;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MoistureResults r = ComputeMoistureResults(c.in, settings);
    EXPECT_EQ(r.ResultText, c.result);
    EXPECT_EQ(r.DeltaText, c.delta);
  }
}

TEST(ComputeMoistureResults, HoldsThePpmvInSinglePrecisionBetweenTheHalves) {
  // 23596.998 ppmv passed in double gives 23.358468 mbar; held in single it gives 23.3584685.
  const PhysicsChoice physics;
  UnitParams side;
  const double ppmv = MoistureToPpmv(MoistureUnit::DewPointC, 20, 1013.25, side, physics);
  EXPECT_EQ(FormatSignificant(PressureFromPpmv(ppmv, 1013.25), 8), "23.358468");
  EXPECT_EQ(FormatSignificant(PressureFromPpmv(HoldSingle(ppmv), 1013.25), 9), "23.3584685");
  const MoistureResults r = ComputeMoistureResults(Inputs(3, 20, 0), CalcSettings{});
  EXPECT_EQ(r.ResultText, "23.36");
  EXPECT_EQ(r.Result, HoldSingle(PressureFromPpmv(HoldSingle(ppmv), 1013.25)));
}

}  // namespace
}  // namespace tavimor

namespace tavimor {
namespace {

// The column path against value by value, bit for bit: every unit pair, every formula and
// factor, pressures usable and not, values across and beyond each unit's range.
TEST(ConvertColumn, GivesTheHeldResultOfEveryValueOrNaN) {
  struct Physics {
    SwvpFormula formula;
    EnhancementFactor factor;
    GasMethod method;
    float measured;
    float computeAt;
  };
  const Physics physics[] = {
      {SwvpFormula::GoffGratch, EnhancementFactor::NoEnhancement, GasMethod::IgtBulletin8, 1013.25f,
       1013.25f},
      {SwvpFormula::HylandWexler, EnhancementFactor::Greenspan, GasMethod::Astm, 5000, 250},
      {SwvpFormula::Sonntag, EnhancementFactor::Bogel, GasMethod::IgtBulletin8, 20, 20000},
      {SwvpFormula::Magnus, EnhancementFactor::Greenspan, GasMethod::Astm, 0, 1013.25f},
      {SwvpFormula::HylandWexler, EnhancementFactor::NoEnhancement, GasMethod::IgtBulletin8,
       1013.25f, NAN},
  };
  std::vector<double> values = {NAN, INFINITY, -INFINITY, 1e300, -1e300, 0, -0.0, 3.4e38};
  for (int k = -300; k <= 600; ++k) values.push_back(k * 0.5 + 0.123);
  for (double v = 1e-7; v < 3e5; v *= 1.7) values.push_back(v);
  for (const Physics& p : physics) {
    CalcSettings settings;
    settings.SwvpFormula = p.formula;
    settings.EnhancementFactor = p.factor;
    settings.GasMethod = p.method;
    settings.To.DensityMedium = DensityMedium::AirMixture;
    for (int from = -1; from < kMoistureUnitCount; ++from) {
      for (int to = 0; to <= kMoistureUnitCount; ++to) {
        MoistureInputs inputs;
        inputs.FromUnit = inputs.FromListSelection = from;
        inputs.ToListSelection = to;
        inputs.MeasuredPressure = p.measured;
        inputs.ComputePressure = p.computeAt;
        const MoistureConversion conversion(inputs, settings);
        std::vector<double> results(values.size());
        std::vector<uint8_t> outside(values.size());
        conversion.convertColumn(values, results, outside);
        for (std::size_t i = 0; i < values.size(); ++i) {
          const float held = HoldSingle(values[i]);
          const bool refused = FromValueRangeMessage(from, held).has_value();
          const MoistureValues m = conversion.values(held);
          const double expected = !refused && m.ResultValid ? m.Result : NAN;
          ASSERT_EQ(outside[i] != 0, refused) << from << " " << values[i];
          ASSERT_EQ(std::isnan(results[i]), std::isnan(expected))
              << from << ">" << to << " " << values[i];
          if (!std::isnan(expected)) {
            ASSERT_EQ(std::bit_cast<uint64_t>(results[i]), std::bit_cast<uint64_t>(expected))
                << from << ">" << to << " " << values[i];
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace tavimor
