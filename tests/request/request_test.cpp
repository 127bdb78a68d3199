#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "request/block_threads.h"
#include "request/conversion_request.h"
#include "request/prepared_conversion.h"
#include "settings_file_test.h"

namespace tavimor {
namespace {

// A value given as a Python keyword would give it: a name, or a number.
struct KeywordValue {
  std::string_view Keyword;
  std::string_view Key;
  std::variant<std::string_view, double> Value;
};

ConversionRequest FromOptions(
    const std::vector<std::pair<std::string_view, std::string_view>>& options) {
  ConversionRequest request;
  for (const auto& [option, text] : options) {
    const RequestField* field = FieldByOption(option);
    EXPECT_NE(field, nullptr) << option;
    if (field == nullptr) continue;
    EXPECT_FALSE(field->SetText(request, text)) << option << " " << text;
  }
  return request;
}

ConversionRequest FromKeywords(const std::vector<KeywordValue>& keywords) {
  ConversionRequest request;
  for (const KeywordValue& k : keywords) {
    const RequestField* field = FieldByKeyword(k.Keyword, k.Key);
    EXPECT_NE(field, nullptr) << k.Keyword << " " << k.Key;
    if (field == nullptr) continue;
    const auto refusal =
        std::holds_alternative<double>(k.Value)
            ? field->SetNumber(request, std::get<double>(k.Value), NumberCheck::AsTyped)
            : field->SetText(request, std::get<std::string_view>(k.Value));
    EXPECT_FALSE(refusal) << k.Keyword << " " << k.Key;
  }
  return request;
}

void ExpectSameFields(const ConversionRequest& a, const ConversionRequest& b) {
  for (const RequestField& field : RequestFields()) {
    SCOPED_TRACE(std::string(field.Option) + " " + std::string(field.Keyword));
    EXPECT_EQ(field.Get(a), field.Get(b));
  }
}

// The command's options and the Python package's keywords are two spellings of one request.
TEST(RequestFields, OptionsAndKeywordsReachTheSameFields) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string_view, std::string_view>> options;
    std::vector<KeywordValue> keywords;
  };
  const Case cases[] = {
      {"units by name and index, a side's temperature",
       {{"--from", "RH"}, {"--to", "5"}, {"--from-ambient", "35"}},
       {{"from_unit", "", "rh"}, {"to_unit", "", "ppmv"}, {"from_params", "ambient", 35.0}}},
      {"pressures with their units",
       {{"--measured", "85,psig"}, {"--compute-at", "3,ATM"}},
       {{"measured", "", 85.0},
        {"measured_unit", "", "psig"},
        {"compute_at", "", 3.0},
        {"compute_at_unit", "", "atm"}}},
      {"a compute-at pressure without its unit is in millibar",
       {{"--compute-at", "2000"}},
       {{"compute_at", "", 2000.0}}},
      {"the physics",
       {{"--formula", "Hyland-Wexler"}, {"--enhancement", "bogel"}, {"--gas-method", "astm"}},
       {{"formula", "", "hyland-wexler"},
        {"enhancement", "", "BOGEL"},
        {"gas_method", "", "astm"}}},
      {"every parameter of the To side, held in single precision",
       {{"--to-mw", "18.015"},
        {"--to-k", "8.6"},
        {"--to-medium", "air"},
        {"--to-vapor-temp", "-5.5"},
        {"--to-ambient", "199.9"}},
       {{"to_params", "mw", 18.015},
        {"to_params", "k", 8.6},
        {"to_params", "medium", "air"},
        {"to_params", "vapor_temp", -5.5},
        {"to_params", "ambient", 199.9}}},
      {"how results are written",
       {{"--increment", "-0.25"}, {"--raw", ""}},
       {{"increment", "", -0.25}, {"raw", "", 1.0}}},
      {"uncertainties: in percent, in a pressure unit, as a number; k and the formula's",
       {{"--uncertainty", " 5 %"},
        {"--measured-uncertainty", "0.5,PSIA"},
        {"--compute-at-uncertainty", "2"},
        {"--coverage-factor", "1.5"},
        {"--include-formula", ""}},
       {{"u", "", "5%"},
        {"measured_u", "", "0.5,psia"},
        {"compute_at_u", "", 2.0},
        {"coverage_factor", "", 1.5},
        {"include_formula", "", 1.0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSameFields(FromOptions(c.options), FromKeywords(c.keywords));
  }
  // The defaults are those of a panel without saved selections.
  const ConversionRequest defaults;
  EXPECT_EQ(FieldByKeyword("from_unit")->Get(defaults), FieldValue(std::string("dfp-c")));
  EXPECT_EQ(FieldByKeyword("measured")->Get(defaults), FieldValue(1013.25));
  EXPECT_EQ(FieldByKeyword("measured_unit")->Get(defaults), FieldValue(std::string("mbar")));
  EXPECT_EQ(FieldByKeyword("compute_at")->Get(defaults), FieldValue());
  EXPECT_EQ(FieldByKeyword("from_params", "mw")->Get(defaults), FieldValue(29.0));
  EXPECT_EQ(FieldByKeyword("to_params", "medium")->Get(defaults),
            FieldValue(std::string("natural-gas")));
}

// One wording for a refused value, whichever front end sets the field.
TEST(RequestFields, ARefusedValueHasOneWordingInEveryFrontEnd) {
  struct Case {
    std::string_view option;  // set from text, as the command does
    std::string_view keyword;
    std::string_view key;
    std::string_view text;
    std::string expected;  // with the name "N" and the value "V"
    bool saved = true;     // a field of the saved selections, which are taken as stored
  };
  const Case cases[] = {
      {"--from", "from_unit", "", "kelvin",
       "N: unknown unit V: expected one of mbar, dfp-c, dfp-f, dp-c, dp-f, ppmv, ppmw, "
       "lb-mmscf, g-m3, rh, ppmw-liquid (or an index 0 to 10)"},
      {"--formula", "formula", "", "wexler",
       "N: unknown formula V: expected one of goff-gratch, hyland-wexler, sonntag, magnus"},
      {"--enhancement", "enhancement", "", "bögel",
       "N: unknown enhancement factor V: expected one of none, greenspan, bogel"},
      {"--gas-method", "gas_method", "", "x", "N: unknown gas method V: expected one of igt, astm"},
      {"--to-medium", "to_params", "medium", "steam",
       "N: unknown medium V: expected one of natural-gas, air, vapor"},
      {"--from-mw", "from_params", "mw", "0", "N must be a number above 0, not V"},
      {"--to-k", "to_params", "k", "-1", "N must be a number above 0, not V"},
      {"--from-ambient", "from_params", "ambient", "-80",
       "N must be a temperature above -80 and below 200 (°C), not V"},
      {"--to-vapor-temp", "to_params", "vapor_temp", "200",
       "N must be a temperature above -80 and below 200 (°C), not V"},
      {"--uncertainty", "u", "", "-1",
       "N must be a number of 0 or more, or a percentage such as 5%, not V", false},
      {"--compute-at-uncertainty", "compute_at_u", "", "-0.5",
       "N must be a number of 0 or more, a percentage such as 1%, or a number, a comma and a "
       "pressure unit, not V",
       false},
      {"--coverage-factor", "coverage_factor", "", "0", "N must be a number above 0, not V", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.option));
    const RequestField* byOption = FieldByOption(c.option);
    const RequestField* byKeyword = FieldByKeyword(c.keyword, c.key);
    ASSERT_EQ(byOption, byKeyword);
    ConversionRequest request;
    const auto fromText = byOption->SetText(request, c.text);
    ASSERT_TRUE(fromText);
    EXPECT_EQ(RefusalMessage(*fromText, "N", "V"), c.expected);
    if (byKeyword->SetNumber != nullptr) {
      const auto fromNumber =
          byKeyword->SetNumber(request, std::stod(std::string(c.text)), NumberCheck::AsTyped);
      ASSERT_TRUE(fromNumber);
      EXPECT_EQ(RefusalMessage(*fromNumber, "N", "V"), c.expected);
      // Saved selections are taken as stored.
      if (c.saved) {
        EXPECT_FALSE(
            byKeyword->SetNumber(request, std::stod(std::string(c.text)), NumberCheck::AsSaved));
      }
    }
  }
  // The command's "P[,UNIT]" names the part it refuses.
  ConversionRequest request;
  const auto unit = FieldByOption("--compute-at")->SetText(request, "1013,25");
  ASSERT_TRUE(unit && unit->Part);
  EXPECT_EQ(*unit->Part, "25");
  EXPECT_FALSE(request.ComputeAt);
  const auto unitAlone = FieldByKeyword("compute_at_unit")->SetText(request, "psia");
  ASSERT_TRUE(unitAlone);
  EXPECT_EQ(RefusalMessage(*unitAlone, "N", "V"),
            "compute_at_unit needs compute_at, the pressure to compute at");
  // Computing at the measured pressure, the two pressures are one quantity.
  EXPECT_FALSE(FieldByOption("--compute-at-uncertainty")->SetText(request, "1%"));
  const auto unmet = UnmetNeedOf(request);
  ASSERT_TRUE(unmet);
  EXPECT_EQ(NeedsMessage(unmet->Given->Option, unmet->Needed->Option),
            "--compute-at-uncertainty needs --compute-at");
  request.ComputeAt = PressureSetting{};
  EXPECT_FALSE(UnmetNeedOf(request));
}

using SavedSelectionsTest = test::SettingsFileTest;

TEST_F(SavedSelectionsTest, FillTheRequestAlikeFromAFileAndFromItsText) {
  const std::string section =
      "[Tavimor]\nFromDew=0,6\nToDew=0,9\nFromPrs=14.696,1\nToPrs=5,3\nMW=15,18.000000,3,40\n"
      "TAmbient=1034,-5,1033,35\nIsoAndPrsr=1014,1016\nEquSWVP=1021,1025\n";
  Put(section);
  ConversionRequest fromFile;
  fromFile.ComputeAt = PressureSetting{2, 3};  // computing at the measured pressure clears it
  ApplySavedSelections(ProfileReaderForFile(file_), fromFile);
  ConversionRequest fromText;
  ApplySavedSelections(ProfileReaderForText(section), fromText);
  ExpectSameFields(fromFile, fromText);
  EXPECT_EQ(fromText.FromUnit, 6);
  EXPECT_EQ(fromText.Measured.Unit, 1);
  EXPECT_FALSE(fromText.ComputeAt);
  EXPECT_EQ(fromText.Calc.From.MolWeight, 18.0f);
  EXPECT_EQ(fromText.Calc.SwvpFormula, SwvpFormula::HylandWexler);
}

// A table row's own pressures and uncertainty: computing at the measured pressure, the
// compute-at pressure follows the row's measured one; the results and their interval equal a
// request made for that row alone.
TEST(PreparedConversion, RowPressuresGiveTheResultsOfARequestForThatRow) {
  ConversionRequest base;
  base.FromUnit = 1;
  base.ToUnit = 5;
  base.Measured = {0, 2};  // psig
  base.Increment = 1.0f;
  base.MeasuredUncertainty = PressureUncertainty{1, true, {}};
  for (const bool computeAtMeasured : {true, false}) {
    SCOPED_TRACE(computeAtMeasured);
    if (!computeAtMeasured) base.ComputeAt = PressureSetting{1, 3};  // atm
    PreparedConversion rows(base);
    for (const float psig : {0.0f, 800.0f, 800.0f, -5.0f, 1500.0f}) {
      const ValueUncertainty u{1 + psig / 1000, false};
      rows.setMeasuredPressure(psig);
      rows.setFromUncertainty(u);
      ASSERT_FALSE(rows.convert(std::string_view("-40")));
      ConversionRequest alone = base;
      alone.Measured.Value = psig;
      alone.FromUncertainty = u;
      PreparedConversion single(alone);
      ASSERT_FALSE(single.convert(-40.0f));
      std::string a;
      std::string b;
      rows.appendLine(a);
      single.appendLine(b);
      EXPECT_EQ(a, b) << psig;
    }
  }
  PreparedConversion conversion(base);
  EXPECT_EQ(conversion.convert(std::string_view("abc")), kNotANumber);
  EXPECT_EQ(conversion.convert(60.0f), "stay between -140°C and +50°C");
}

// A panel's conversion as a request for the other front ends gives the panel's inputs back.
TEST(ConversionRequest, RequestOfAPanelsInputsYieldsThem) {
  const auto fields = [](const MoistureInputs& in) {
    return std::tuple(in.Increment, in.FromUnit, in.FromListSelection, in.ToListSelection,
                      in.MeasuredPressure, in.MeasuredPressureUnit, in.ComputePressure,
                      in.ComputePressureUnit);
  };
  const MoistureInputs panel{0, 0.5f, 6, 6, 9, 14.7f, 1, 3, 3};
  CalcSettings settings;
  settings.From.MolWeight = 18;
  for (const bool atMeasured : {false, true}) {
    SCOPED_TRACE(atMeasured);
    const ConversionRequest request = RequestOf(panel, settings, atMeasured);
    EXPECT_EQ(request.Calc.From.MolWeight, 18.0f);
    MoistureInputs expected = panel;
    if (atMeasured) expected.ComputePressure = expected.MeasuredPressure;
    if (atMeasured) expected.ComputePressureUnit = expected.MeasuredPressureUnit;
    EXPECT_EQ(fields(InputsOf(request)), fields(expected));
  }
}

TEST(BlockThreads, RunsEveryShareOnceAndPassesOnTheFirstError) {
  BlockThreads threads(3);
  for (int round = 0; round < 3; ++round) {
    std::vector<std::atomic<int>> runs(3);
    threads.run(3, [&](int share) { ++runs[static_cast<std::size_t>(share)]; });
    for (const auto& r : runs) EXPECT_EQ(r.load(), 1);
  }
  EXPECT_THROW(threads.run(3,
                           [](int share) {
                             if (share == 2) throw std::runtime_error("share 2");
                           }),
               std::runtime_error);
  EXPECT_EQ(BlockThreads(0).threads(), 1);
  EXPECT_EQ(BlockThreads(1000).threads(), kMaxThreads);
}

}  // namespace
}  // namespace tavimor
