#include <gtest/gtest.h>

#include "core/unit_tables.h"

namespace tavimor {
namespace {

TEST(PressureUnitTable, HoldsItsFactorsInSinglePrecision) {
  struct Case {
    PressureUnit unit;
    double perMbar;  // the single-precision factor, widened
  };
  const Case cases[] = {
      {PressureUnit::Mbar, 1.0},
      {PressureUnit::Psia, 0.014503800310194492},
      {PressureUnit::Psig, 0.01450376957654953},
      {PressureUnit::Atm, 0.0009869199711829424},
      {PressureUnit::Kpa, 0.10000000149011612},
  };
  for (const Case& c : cases) {
    const auto& row = kPressureUnits[static_cast<std::size_t>(c.unit)];
    SCOPED_TRACE(std::string(row.Name));
    EXPECT_EQ(static_cast<double>(row.PerMbar), c.perMbar);
  }
  EXPECT_EQ(kPressureUnits[2].OffsetMbar, 1013.25f);
}

TEST(MoistureUnitTable, ListsUnitsInListOrderWithAmountFlags) {
  const int amount[] = {1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1};
  for (int i = 0; i < kMoistureUnitCount; ++i) {
    EXPECT_EQ(kMoistureUnits[static_cast<std::size_t>(i)].Index, i);
    EXPECT_EQ(kMoistureUnits[static_cast<std::size_t>(i)].IsAmount, amount[i]);
  }
  EXPECT_EQ(kMoistureUnits[6].ComboText,
            "PPMw(mol/mol)  -  parts per million by weight | choose gas...");
  EXPECT_FALSE(MoistureUnitFromIndex(11).has_value());
  EXPECT_FALSE(MoistureUnitFromIndex(-1).has_value());
}

}  // namespace
}  // namespace tavimor
