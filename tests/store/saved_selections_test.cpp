#include "store/saved_selections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "store/profile_store.h"

namespace tavimor {
namespace {

// All thirteen keys as Save Selections writes them with the Moisture/Humidity panel shown:
// the panel's twelve, then ConvCategory 1001.
SavedKeys ComposeSavedSelections(const PanelSelectionTexts& panel, const CalcSettings& settings) {
  SavedKeys keys = ComposePanelSavedKeys(panel, settings);
  keys.emplace_back(kKeyConvCategory, "1001");
  return keys;
}

TEST(ScanSavedFields, FollowsTheStoredFormats) {
  struct Case {
    const char* name;
    const char* text;
    const char* kinds;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {"two integers", "1014,1017", "dd", {1014, 1017}},
      {"number then index", "12.5,5", "fd", {12.5, 5}},
      {"leading blanks before each number", "  12.5, 5", "fd", {12.5, 5}},
      {"blank before a comma stops", "12 ,5", "fd", {12}},
      {"text for a number stops at once", "abc,5", "fd", {}},
      {"text for an index keeps the number", "12,abc", "fd", {12}},
      {"exponent form", "1e3,2", "fd", {1000, 2}},
      {"exponent without digits is not part of the number", "1e,2", "fd", {1}},
      {"signs", "-40,+1", "fd", {-40, 1}},
      {"point without leading digit", ".5,1", "fd", {0.5, 1}},
      {"lone point is no number", ".,1", "fd", {}},
      {"an integer field stops at a point", "5.0,1", "dd", {5}},
      {"trailing text after the last field is ignored", "1025xyz", "d", {1025}},
      {"missing comma", "1020", "dd", {1020}},
      {"four fields", "1039,20.000000,1040,15.555556", "dfdf", {1039, 20, 1040, 15.555556}},
      {"empty", "", "d", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ScanSavedFields(c.text, c.kinds), c.expected);
  }
}

TEST(ScanSavedFields, HugeNumbersNeitherOverflowNorCrash) {
  const auto v = ScanSavedFields("99999999999999999999999999,1e999,1e-999", "dff");
  ASSERT_EQ(v.size(), 3u);
  EXPECT_GT(v[0], 9e25);
  EXPECT_TRUE(std::isinf(v[1]));
  EXPECT_EQ(v[2], 0);
}

// A reader over a fixed map of keys.
ProfileReader MapReader(std::map<std::string, std::string> keys) {
  return [keys = std::move(keys)](std::string_view key) {
    const auto it = keys.find(std::string(key));
    return it == keys.end() ? std::string() : it->second;
  };
}

TEST(ReadSavedSelections, NoSectionGivesTheDefaults) {
  PanelSelections s;
  s.FromUnit = 7;  // values of an earlier creation are replaced
  s.IsobarChoice = 1013;
  CalcSettings settings;
  settings.SwvpFormula = SwvpFormula::Magnus;
  settings.From.MolWeight = 44;
  settings.To.Liquid = LiquidChoice::Benzene;
  ReadSavedSelections(MapReader({}), s, settings);
  EXPECT_EQ(s.FromValue, 0);
  EXPECT_EQ(s.FromUnit, 1);
  EXPECT_EQ(s.ToUnit, 1);
  EXPECT_EQ(s.MeasuredPressure, 1013.25f);
  EXPECT_EQ(s.ComputePressure, 1013.25f);
  EXPECT_EQ(s.MeasuredPressureUnit, 0);
  EXPECT_EQ(s.ComputePressureUnit, 0);
  EXPECT_EQ(s.IsobarChoice, 1014);
  EXPECT_EQ(s.PressureChoice, 1017);
  EXPECT_EQ(settings.SwvpFormula, SwvpFormula::GoffGratch);
  EXPECT_EQ(settings.EnhancementFactor, EnhancementFactor::NoEnhancement);
  EXPECT_EQ(settings.GasMethod, GasMethod::IgtBulletin8);
  for (const SideParams* side : {&settings.From, &settings.To}) {
    EXPECT_EQ(side->GasIndex, 1);
    EXPECT_EQ(side->MolWeight, 29);
    EXPECT_EQ(side->Liquid, LiquidChoice::Hexane);
    EXPECT_EQ(side->HenryK, 1.9f);
    EXPECT_EQ(side->AmbientTempUnit, AmbientTempUnit::AmbientCelsius);
    EXPECT_EQ(side->AmbientTempC, 20);
    EXPECT_EQ(side->DensityMedium, DensityMedium::NaturalGas);
    EXPECT_EQ(side->VaporTempUnit, VaporTempUnit::VaporCelsius);
    EXPECT_EQ(side->VaporTempC, 20);
  }
}

TEST(ApplySavedKey, PanelKeysWithPartialAndBadFields) {
  struct Case {
    const char* name;
    std::string_view key;
    const char* text;
    float fromValue;
    int fromUnit;
    float measured;
    int measuredUnit;
    int toUnit;
    int isobar;
    int pressureChoice;
  };
  // Earlier values: FromValue 7, FromUnit 3, measured 500 in unit 2, To unit 4, 1015/1016.
  const Case cases[] = {
      {"FromDew number and unit", kKeyFromDew, "12.5,5", 12.5f, 5, 500, 2, 4, 1015, 1016},
      {"FromDew unit unreadable keeps the earlier unit", kKeyFromDew, "12,abc", 12, 3, 500, 2, 4,
       1015, 1016},
      {"FromDew saved 'enter new val' shows 0", kKeyFromDew, "enter new val,5", 0, 3, 500, 2, 4,
       1015, 1016},
      {"FromDew unit beyond the list", kKeyFromDew, "1,11", 1, 1, 500, 2, 4, 1015, 1016},
      {"FromDew negative unit", kKeyFromDew, "1,-1", 1, 1, 500, 2, 4, 1015, 1016},
      {"FromDew number beyond float", kKeyFromDew, "1e39,2", 0, 2, 500, 2, 4, 1015, 1016},
      {"FromDew empty gives defaults", kKeyFromDew, "", 0, 1, 500, 2, 4, 1015, 1016},
      {"FromPrs", kKeyFromPrs, "14.696,1", 7, 3, 14.696f, 1, 4, 1015, 1016},
      {"FromPrs 'N/A' shows 1013.25", kKeyFromPrs, "N/A,1", 7, 3, 1013.25f, 2, 4, 1015, 1016},
      {"FromPrs unit 5 is no pressure unit", kKeyFromPrs, "2,5", 7, 3, 2, 0, 4, 1015, 1016},
      {"ToDew", kKeyToDew, "0,9", 7, 3, 500, 2, 9, 1015, 1016},
      {"ToDew bad placeholder keeps the unit", kKeyToDew, "x,9", 7, 3, 500, 2, 4, 1015, 1016},
      {"ToDew unit beyond the list", kKeyToDew, "0,12", 7, 3, 500, 2, 1, 1015, 1016},
      {"IsoAndPrsr", kKeyIsoAndPrsr, "1013,1016", 7, 3, 500, 2, 4, 1013, 1016},
      {"IsoAndPrsr not buttons", kKeyIsoAndPrsr, "1012,1018", 7, 3, 500, 2, 4, 1014, 1017},
      {"IsoAndPrsr stops after the first", kKeyIsoAndPrsr, "1014;1017", 7, 3, 500, 2, 4, 1014,
       1016},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelSelections s;
    s.FromValue = 7;
    s.FromUnit = 3;
    s.MeasuredPressure = 500;
    s.MeasuredPressureUnit = 2;
    s.ToUnit = 4;
    s.IsobarChoice = 1015;
    s.PressureChoice = 1016;
    CalcSettings settings;
    ApplySavedKey(c.key, c.text, s, settings);
    EXPECT_EQ(s.FromValue, c.fromValue);
    EXPECT_EQ(s.FromUnit, c.fromUnit);
    EXPECT_EQ(s.MeasuredPressure, c.measured);
    EXPECT_EQ(s.MeasuredPressureUnit, c.measuredUnit);
    EXPECT_EQ(s.ToUnit, c.toUnit);
    EXPECT_EQ(s.IsobarChoice, c.isobar);
    EXPECT_EQ(s.PressureChoice, c.pressureChoice);
  }
}

TEST(ApplySavedKey, SettingsKeysFallBackToDefaultsForNonMembers) {
  // Starts from values that differ from every default, so a kept field is visible.
  CalcSettings earlier;
  earlier.SwvpFormula = SwvpFormula::Sonntag;
  earlier.EnhancementFactor = EnhancementFactor::Bogel;
  earlier.GasMethod = GasMethod::Astm;
  for (SideParams* side : {&earlier.From, &earlier.To}) {
    side->GasIndex = 4;
    side->MolWeight = 44;
    side->Liquid = LiquidChoice::Benzene;
    side->HenryK = 15.5f;
    side->AmbientTempUnit = AmbientTempUnit::AmbientFahrenheit;
    side->AmbientTempC = 30;
    side->DensityMedium = DensityMedium::AirMixture;
    side->VaporTempUnit = VaporTempUnit::VaporFahrenheit;
    side->VaporTempC = 40;
  }
  PanelSelections panel;

  CalcSettings s = earlier;
  ApplySavedKey(kKeyMW, "15,18.000000,3,40.000000", panel, s);
  EXPECT_EQ(s.From.GasIndex, 15);
  EXPECT_EQ(s.From.MolWeight, 18);
  EXPECT_EQ(s.To.GasIndex, 3);
  EXPECT_EQ(s.To.MolWeight, 40);

  s = earlier;
  ApplySavedKey(kKeyMW, "16,18.000000,-1,abc", panel, s);
  EXPECT_EQ(s.From.GasIndex, 1) << "no row 16 in the gas table";
  EXPECT_EQ(s.From.MolWeight, 18);
  EXPECT_EQ(s.To.GasIndex, 1);
  EXPECT_EQ(s.To.MolWeight, 29) << "an unreadable number takes the key's default";

  s = earlier;
  ApplySavedKey(kKeyMW, "2,xyz,3,40", panel, s);
  EXPECT_EQ(s.From.GasIndex, 2);
  EXPECT_EQ(s.From.MolWeight, 29);
  EXPECT_EQ(s.To.GasIndex, 4) << "fields after the failing one keep their values";
  EXPECT_EQ(s.To.MolWeight, 44);

  s = earlier;
  ApplySavedKey(kKeyHenry, "1019,0.000000,1027,3.5", panel, s);
  EXPECT_EQ(s.From.Liquid, LiquidChoice::CustomLiquid);
  EXPECT_EQ(s.From.HenryK, 1.9f) << "a tiny custom K saved as 0.000000 is refused as typed";
  EXPECT_EQ(s.To.Liquid, LiquidChoice::Hexane) << "1027 is the K field, no liquid button";
  EXPECT_EQ(s.To.HenryK, 3.5f);

  s = earlier;
  ApplySavedKey(kKeyTAmbient, "1034,20.000000,1035,-5", panel, s);
  EXPECT_EQ(s.From.AmbientTempUnit, AmbientTempUnit::AmbientFahrenheit);
  EXPECT_EQ(s.From.AmbientTempC, 20);
  EXPECT_EQ(s.To.AmbientTempUnit, AmbientTempUnit::AmbientCelsius);
  EXPECT_EQ(s.To.AmbientTempC, -5);

  s = earlier;
  ApplySavedKey(kKeyMediumDensity, "1036,1", panel, s);
  EXPECT_EQ(s.From.DensityMedium, DensityMedium::PureVapor);
  EXPECT_EQ(s.To.DensityMedium, DensityMedium::NaturalGas);

  s = earlier;
  ApplySavedKey(kKeyTDensity, "1040,15.555556,66575,25", panel, s);
  EXPECT_EQ(s.From.VaporTempUnit, VaporTempUnit::VaporFahrenheit);
  EXPECT_FLOAT_EQ(s.From.VaporTempC, 15.555556f);
  EXPECT_EQ(s.To.VaporTempUnit, VaporTempUnit::VaporCelsius) << "no 16-bit wrap-around";
  EXPECT_EQ(s.To.VaporTempC, 25);

  s = earlier;
  ApplySavedKey(kKeyEquDensity, "1027", panel, s);
  EXPECT_EQ(s.GasMethod, GasMethod::IgtBulletin8);
  s = earlier;
  ApplySavedKey(kKeyEquDensity, "1026", panel, s);
  EXPECT_EQ(s.GasMethod, GasMethod::Astm);

  s = earlier;
  ApplySavedKey(kKeyEquSWVP, "1023,1025", panel, s);
  EXPECT_EQ(s.SwvpFormula, SwvpFormula::Magnus);
  EXPECT_EQ(s.EnhancementFactor, EnhancementFactor::Greenspan);
  s = earlier;
  ApplySavedKey(kKeyEquSWVP, "1019,1027", panel, s);
  EXPECT_EQ(s.SwvpFormula, SwvpFormula::GoffGratch);
  EXPECT_EQ(s.EnhancementFactor, EnhancementFactor::NoEnhancement);
  s = earlier;
  ApplySavedKey(kKeyEquSWVP, "junk", panel, s);
  EXPECT_EQ(s.SwvpFormula, SwvpFormula::Sonntag) << "nothing read, nothing assigned";
}

// A hand-edited file reaches the physics only with values the parameter dialogs accept when
// typed (a weight or constant above 0, a temperature above -80 and below 200 °C): any other
// takes its default, alone, and the key is named; the dialogs' own bounds still load.
TEST(ReadSavedSelections, ValuesTheDialogsRefuseLoadTheirDefaultsAndAreNamed) {
  struct Case {
    const char* name;
    std::string_view key;
    const char* text;
    bool replaced;
    float SideParams::*field;
    float from;
    float to;
  };
  const Case cases[] = {
      {"negative molecular weights", kKeyMW, "1,-18,1,-18", true, &SideParams::MolWeight, 29, 29},
      {"a weight of 0 beside one accepted", kKeyMW, "15,0,15,18", true, &SideParams::MolWeight, 29,
       18},
      {"negative Henry's constants", kKeyHenry, "5,-1,5,-1", true, &SideParams::HenryK, 1.9f, 1.9f},
      {"ambient temperatures of 300 and 200 °C", kKeyTAmbient, "0,300,0,200", true,
       &SideParams::AmbientTempC, 20, 20},
      {"ambient temperatures at the dialog's bounds", kKeyTAmbient, "1033,199.9,1033,-79.9", false,
       &SideParams::AmbientTempC, 199.9f, -79.9f},
      {"a vapour temperature of -80 °C", kKeyTDensity, "1039,-80,1039,25", true,
       &SideParams::VaporTempC, 20, 25},
      {"a weight beyond the float range", kKeyMW, "15,1e39,15,18", true, &SideParams::MolWeight, 29,
       18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelSelections panel;
    CalcSettings settings;
    settings.To.*c.field = 55;  // not a default, so that a field left alone shows
    const std::vector<std::string_view> replaced = ReadSavedSelections(
        MapReader({{std::string(c.key), c.text}, {"ToDew", "0,5"}}), panel, settings);
    EXPECT_EQ(replaced,
              c.replaced ? std::vector<std::string_view>{c.key} : std::vector<std::string_view>{});
    EXPECT_EQ(settings.From.*c.field, c.from);
    EXPECT_EQ(settings.To.*c.field, c.to);
    EXPECT_EQ(panel.ToUnit, 5) << "the rest of the file still counts";
  }
}

TEST(ComposeSavedSelections, DefaultsWithFromValueMinus40) {
  PanelSelectionTexts panel;
  panel.FromText = "-40";
  panel.FromListIndex = 1;
  panel.ToListIndex = 1;
  panel.MeasuredText = "1013.25";
  panel.MeasuredListIndex = 0;
  panel.ComputeText = "1013.25";
  panel.ComputeListIndex = 0;
  const SavedKeys expected = {
      {"IsoAndPrsr", "1014,1017"},
      {"FromDew", "-40,1"},
      {"ToDew", "0,1"},
      {"FromPrs", "1013.25,0"},
      {"ToPrs", "1013.25,0"},
      {"TDensity", "1039,20.000000,1039,20.000000"},
      {"MW", "1,29.000000,1,29.000000"},
      {"TAmbient", "1033,20.000000,1033,20.000000"},
      {"Henry", "1028,1.900000,1028,1.900000"},
      {"EquSWVP", "1020,1024"},
      {"EquDensity", "1025"},
      {"MediumDensity", "1038,1038"},
      {"ConvCategory", "1001"},
  };
  EXPECT_EQ(ComposeSavedSelections(panel, CalcSettings{}), expected);
  SavedKeys panelOnly = expected;
  panelOnly.pop_back();
  EXPECT_EQ(ComposePanelSavedKeys(panel, CalcSettings{}), panelOnly);
}

TEST(SavedFieldText, IsBoundedAndKeepsTheIndexReadable) {
  struct Case {
    const char* name;
    std::string text;
    std::string saved;
  };
  const Case cases[] = {
      {"as typed", "enter new val", "enter new val"},
      {"14 characters at most", "123456789012345678", "12345678901234"},
      {"a comma ends the text", "1,5", "1"},
      {"a line break ends the text", "12\n[Other]", "12"},
      {"characters, not bytes", "°°°°°°°°°°°°°°°°", "°°°°°°°°°°°°°°"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SavedFieldText(c.text), c.saved);
  }
}

TEST(ComposeSavedSelections, HugeValuesStayBoundedAndReadBack) {
  CalcSettings s;
  s.From.GasIndex = 15;
  s.From.MolWeight = 3.4e38f;
  s.To.MolWeight = -3.4e38f;
  s.From.HenryK = INFINITY;
  PanelSelectionTexts panel;
  panel.FromText = std::string(10000, '9');
  const SavedKeys keys = ComposeSavedSelections(panel, s);
  for (const auto& [key, value] : keys) {
    SCOPED_TRACE(key);
    EXPECT_LE(value.size(), kSavedLineMaxRead);
  }
  PanelSelections back;
  CalcSettings read;
  for (const auto& [key, value] : keys) ApplySavedKey(key, value, back, read);
  EXPECT_EQ(read.From.MolWeight, 3.4e38f);
  EXPECT_EQ(read.To.MolWeight, 29) << "a negative molecular weight is refused as typed";
  EXPECT_EQ(read.From.HenryK, 1.9f) << "a value that is not finite is saved as the default";
  EXPECT_FLOAT_EQ(back.FromValue, 99999999999999.0f) << "the first 14 characters only";
}

TEST(SavedSelections, RoundTripThroughAnIniFile) {
  const auto dir =
      std::filesystem::temp_directory_path() /
      ("tavimor-saved-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  const auto file = dir / "tavimor.ini";
  std::filesystem::remove(file);

  CalcSettings written;
  written.SwvpFormula = SwvpFormula::HylandWexler;
  written.EnhancementFactor = EnhancementFactor::Greenspan;
  written.GasMethod = GasMethod::Astm;
  written.From = {15,
                  18,
                  LiquidChoice::CustomLiquid,
                  3.5f,
                  AmbientTempUnit::AmbientFahrenheit,
                  20,
                  DensityMedium::AirMixture,
                  VaporTempUnit::VaporFahrenheit,
                  15.555556f};
  written.To = {4,
                44,
                LiquidChoice::Benzene,
                15.5f,
                AmbientTempUnit::AmbientCelsius,
                25,
                DensityMedium::PureVapor,
                VaporTempUnit::VaporCelsius,
                30};
  PanelSelectionTexts panel{1013, 1016, "123.456", 6, 9, "14.696", 1, "2", 3};
  ASSERT_TRUE(
      WriteProfileStrings(file, kProfileSection, ComposeSavedSelections(panel, written)).Ok);

  PanelSelections s;
  CalcSettings read;
  ReadSavedSelections(ProfileReaderForFile(file), s, read);
  EXPECT_FLOAT_EQ(s.FromValue, 123.456f);
  EXPECT_EQ(s.FromUnit, 6);
  EXPECT_EQ(s.ToUnit, 9);
  EXPECT_FLOAT_EQ(s.MeasuredPressure, 14.696f);
  EXPECT_EQ(s.MeasuredPressureUnit, 1);
  EXPECT_EQ(s.ComputePressure, 2);
  EXPECT_EQ(s.ComputePressureUnit, 3);
  EXPECT_EQ(s.IsobarChoice, 1013);
  EXPECT_EQ(s.PressureChoice, 1016);
  EXPECT_EQ(read.SwvpFormula, written.SwvpFormula);
  EXPECT_EQ(read.EnhancementFactor, written.EnhancementFactor);
  EXPECT_EQ(read.GasMethod, written.GasMethod);
  for (const auto& [r, w] : {std::pair{&read.From, &written.From}, {&read.To, &written.To}}) {
    EXPECT_EQ(r->GasIndex, w->GasIndex);
    EXPECT_EQ(r->MolWeight, w->MolWeight);
    EXPECT_EQ(r->Liquid, w->Liquid);
    EXPECT_EQ(r->HenryK, w->HenryK);
    EXPECT_EQ(r->AmbientTempUnit, w->AmbientTempUnit);
    EXPECT_EQ(r->AmbientTempC, w->AmbientTempC);
    EXPECT_EQ(r->DensityMedium, w->DensityMedium);
    EXPECT_EQ(r->VaporTempUnit, w->VaporTempUnit);
    EXPECT_FLOAT_EQ(r->VaporTempC, w->VaporTempC);
  }
  std::filesystem::remove_all(dir);
}

TEST(SavedSelections, HandEditedFileLoadsDefaultsWithoutCrash) {
  const auto dir = std::filesystem::temp_directory_path() / "tavimor-saved-bad";
  std::filesystem::create_directories(dir);
  const auto file = dir / "tavimor.ini";
  {
    std::ofstream out(file, std::ios::binary);
    out << "[Tavimor]\nFromDew=enter new val,99\nFromPrs=,7\nToDew=0,-3\nToPrs=1e999,2\n"
           "MW=99999999999999999999,nan,1,inf\nHenry=1,2,3\nTAmbient=,,,\n"
           "MediumDensity=-1038,65574\nTDensity=1039x\nEquDensity=0\nEquSWVP=2147483648,-0\n"
           "IsoAndPrsr=" +
               std::string(5000, '1') + "\n";
  }
  PanelSelections s;
  CalcSettings read;
  ReadSavedSelections(ProfileReaderForFile(file), s, read);
  EXPECT_EQ(s.FromValue, 0);
  EXPECT_EQ(s.FromUnit, 1);
  EXPECT_EQ(s.MeasuredPressure, 1013.25f);
  EXPECT_EQ(s.MeasuredPressureUnit, 0);
  EXPECT_EQ(s.ToUnit, 1);
  EXPECT_EQ(s.ComputePressure, 1013.25f);
  EXPECT_EQ(s.ComputePressureUnit, 2);
  EXPECT_EQ(s.IsobarChoice, 1014);
  EXPECT_EQ(s.PressureChoice, 1017);
  EXPECT_EQ(read.From.GasIndex, 1);
  EXPECT_EQ(read.From.MolWeight, 29);
  EXPECT_EQ(read.From.Liquid, LiquidChoice::Hexane);
  EXPECT_EQ(read.From.HenryK, 2);
  EXPECT_EQ(read.To.Liquid, LiquidChoice::Hexane);
  EXPECT_EQ(read.To.HenryK, 1.9f);
  EXPECT_EQ(read.From.DensityMedium, DensityMedium::NaturalGas);
  EXPECT_EQ(read.To.DensityMedium, DensityMedium::NaturalGas);
  EXPECT_EQ(read.From.VaporTempC, 20);
  EXPECT_EQ(read.GasMethod, GasMethod::IgtBulletin8);
  EXPECT_EQ(read.SwvpFormula, SwvpFormula::GoffGratch);
  EXPECT_EQ(read.EnhancementFactor, EnhancementFactor::NoEnhancement);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tavimor
