// The saved-selections parsers on arbitrary text: after any key, every field holds a member of
// its set or its default, and every number is finite and one its dialog accepts typed. Composing
// the keys of any valid state and reading them back restores the state.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>

#include "core/unit_tables.h"
#include "fuzz_check.h"
#include "store/saved_selections.h"

namespace {

using namespace tavimor;

// All thirteen keys as Save Selections writes them with the Moisture/Humidity panel shown:
// the panel's twelve, then ConvCategory 1001.
SavedKeys ComposeSavedSelections(const PanelSelectionTexts& panel, const CalcSettings& settings) {
  SavedKeys keys = ComposePanelSavedKeys(panel, settings);
  keys.emplace_back(kKeyConvCategory, "1001");
  return keys;
}

bool In(int32_t v, std::initializer_list<int32_t> set) {
  return std::find(set.begin(), set.end(), v) != set.end();
}

void CheckSide(const SideParams& s) {
  FUZZ_CHECK(s.GasIndex >= 0 && s.GasIndex < kGasCount, "gas index %d", s.GasIndex);
  FUZZ_CHECK(In(static_cast<int32_t>(s.Liquid), {1028, 1029, 1030, 1031, 1018, 1019}), "liquid %d",
             static_cast<int>(s.Liquid));
  FUZZ_CHECK(In(static_cast<int32_t>(s.AmbientTempUnit), {1033, 1034}), "ambient unit");
  FUZZ_CHECK(In(static_cast<int32_t>(s.DensityMedium), {1036, 1037, 1038}), "medium %d",
             static_cast<int>(s.DensityMedium));
  FUZZ_CHECK(In(static_cast<int32_t>(s.VaporTempUnit), {1039, 1040}), "vapour unit");
  for (float v : {s.MolWeight, s.HenryK, s.AmbientTempC, s.VaporTempC}) {
    FUZZ_CHECK(std::isfinite(v), "parameter %g", static_cast<double>(v));
  }
  // Only what the parameter dialogs accept typed reaches the physics.
  FUZZ_CHECK(IsAcceptedPositive(s.MolWeight) && IsAcceptedPositive(s.HenryK),
             "molecular weight %g, K %g", static_cast<double>(s.MolWeight),
             static_cast<double>(s.HenryK));
  FUZZ_CHECK(IsAcceptedTemperatureC(s.AmbientTempC) && IsAcceptedTemperatureC(s.VaporTempC),
             "temperatures %g, %g", static_cast<double>(s.AmbientTempC),
             static_cast<double>(s.VaporTempC));
}

void CheckState(const PanelSelections& p, const CalcSettings& c) {
  FUZZ_CHECK(p.FromUnit >= 0 && p.FromUnit < kMoistureUnitCount, "from unit %d", p.FromUnit);
  FUZZ_CHECK(p.ToUnit >= 0 && p.ToUnit < kMoistureUnitCount, "to unit %d", p.ToUnit);
  FUZZ_CHECK(p.MeasuredPressureUnit >= 0 && p.MeasuredPressureUnit < kPressureUnitCount, "unit");
  FUZZ_CHECK(p.ComputePressureUnit >= 0 && p.ComputePressureUnit < kPressureUnitCount, "unit");
  FUZZ_CHECK(In(p.IsobarChoice, {1013, 1014, 1015}), "isobars %d", p.IsobarChoice);
  FUZZ_CHECK(In(p.PressureChoice, {1016, 1017}), "pressure choice %d", p.PressureChoice);
  for (float v : {p.FromValue, p.MeasuredPressure, p.ComputePressure}) {
    FUZZ_CHECK(std::isfinite(v), "field %g", static_cast<double>(v));
  }
  FUZZ_CHECK(In(static_cast<int32_t>(c.SwvpFormula), {1020, 1021, 1022, 1023}), "formula");
  FUZZ_CHECK(In(static_cast<int32_t>(c.EnhancementFactor), {1024, 1025, 1026}), "factor");
  FUZZ_CHECK(In(static_cast<int32_t>(c.GasMethod), {1025, 1026}), "method");
  CheckSide(c.From);
  CheckSide(c.To);
}

template <class T>
T Pick(FuzzedDataProvider& in, std::initializer_list<int32_t> set) {
  return static_cast<T>(*(set.begin() + in.ConsumeIntegralInRange<std::size_t>(0, set.size() - 1)));
}

float AnyFiniteFloat(FuzzedDataProvider& in) {
  return static_cast<float>(in.ConsumeFloatingPointInRange(-1e30, 1e30));
}

// What the gas and liquid dialogs accept, and "%f" keeps above 0.
float AnyPositiveFloat(FuzzedDataProvider& in) {
  return static_cast<float>(in.ConsumeFloatingPointInRange(1e-6, 1e30));
}

// What the temperature dialogs accept, with room for six decimals.
float AnyDialogTemperature(FuzzedDataProvider& in) {
  return static_cast<float>(in.ConsumeFloatingPointInRange(-79.99, 199.99));
}

// A valid state, as the panel and the dialogs can hold it.
void AnyValidState(FuzzedDataProvider& in, PanelSelections& p, CalcSettings& c) {
  p.FromValue = AnyFiniteFloat(in);
  p.FromUnit = in.ConsumeIntegralInRange(0, kMoistureUnitCount - 1);
  p.MeasuredPressure = AnyFiniteFloat(in);
  p.MeasuredPressureUnit = in.ConsumeIntegralInRange(0, kPressureUnitCount - 1);
  p.ToUnit = in.ConsumeIntegralInRange(0, kMoistureUnitCount - 1);
  p.ComputePressure = AnyFiniteFloat(in);
  p.ComputePressureUnit = in.ConsumeIntegralInRange(0, kPressureUnitCount - 1);
  p.IsobarChoice = Pick<int32_t>(in, {1013, 1014, 1015});
  p.PressureChoice = Pick<int32_t>(in, {1016, 1017});
  c.SwvpFormula = Pick<SwvpFormula>(in, {1020, 1021, 1022, 1023});
  c.EnhancementFactor = Pick<EnhancementFactor>(in, {1024, 1025, 1026});
  c.GasMethod = Pick<GasMethod>(in, {1025, 1026});
  for (SideParams* s : {&c.From, &c.To}) {
    s->GasIndex = static_cast<int16_t>(in.ConsumeIntegralInRange(0, kGasCount - 1));
    s->MolWeight = AnyPositiveFloat(in);
    s->Liquid = Pick<LiquidChoice>(in, {1028, 1029, 1030, 1031, 1018, 1019});
    s->HenryK = AnyPositiveFloat(in);
    s->AmbientTempUnit = Pick<AmbientTempUnit>(in, {1033, 1034});
    s->AmbientTempC = AnyDialogTemperature(in);
    s->DensityMedium = Pick<DensityMedium>(in, {1036, 1037, 1038});
    s->VaporTempUnit = Pick<VaporTempUnit>(in, {1039, 1040});
    s->VaporTempC = AnyDialogTemperature(in);
  }
}

// "%f" keeps six decimals of a float.
void CheckSavedFloat(float saved, float back) {
  const double tolerance = 5e-7 + std::fabs(static_cast<double>(saved)) * 1.2e-7;
  FUZZ_CHECK(std::fabs(static_cast<double>(back) - saved) <= tolerance, "saved %.9g, read %.9g",
             static_cast<double>(saved), static_cast<double>(back));
}

void CheckRoundTrip(FuzzedDataProvider& in) {
  PanelSelections saved;
  CalcSettings settings;
  AnyValidState(in, saved, settings);
  PanelSelectionTexts texts;
  texts.IsobarChoice = saved.IsobarChoice;
  texts.PressureChoice = saved.PressureChoice;
  texts.FromText = in.ConsumeRandomLengthString(30);
  texts.FromListIndex = saved.FromUnit;
  texts.ToListIndex = saved.ToUnit;
  texts.MeasuredText = in.ConsumeRandomLengthString(30);
  texts.MeasuredListIndex = saved.MeasuredPressureUnit;
  texts.ComputeText = in.ConsumeRandomLengthString(30);
  texts.ComputeListIndex = saved.ComputePressureUnit;

  std::map<std::string, std::string, std::less<>> file;
  for (const auto& [key, value] : ComposeSavedSelections(texts, settings)) {
    FUZZ_CHECK(value.size() <= kSavedLineMaxRead, "%s is %zu long", key.c_str(), value.size());
    FUZZ_CHECK(value.find_first_of("\r\n") == std::string::npos, "%s breaks a line", key.c_str());
    file.emplace(key, value);
  }
  FUZZ_CHECK(file.size() == 13, "%zu keys", file.size());

  PanelSelections back;
  CalcSettings read;
  const std::vector<std::string_view> replaced = ReadSavedSelections(
      [&](std::string_view key) {
        const auto it = file.find(key);
        return it == file.end() ? std::string() : it->second;
      },
      back, read);
  CheckState(back, read);
  FUZZ_CHECK(replaced.empty(), "a saved value of a valid state was replaced (%.*s)",
             replaced.empty() ? 0 : int(replaced[0].size()),
             replaced.empty() ? "" : replaced[0].data());
  // The field texts are saved as typed; their lists come back whenever the text is a number
  // followed directly by the comma, as everything the fields show is.
  FUZZ_CHECK(back.IsobarChoice == saved.IsobarChoice && back.PressureChoice == saved.PressureChoice,
             "IsoAndPrsr");
  FUZZ_CHECK(back.ToUnit == saved.ToUnit, "ToDew");
  FUZZ_CHECK(read.SwvpFormula == settings.SwvpFormula, "EquSWVP");
  FUZZ_CHECK(read.EnhancementFactor == settings.EnhancementFactor, "EquSWVP");
  FUZZ_CHECK(read.GasMethod == settings.GasMethod, "EquDensity");
  for (const auto& [a, b] : {std::pair{&settings.From, &read.From}, {&settings.To, &read.To}}) {
    FUZZ_CHECK(a->GasIndex == b->GasIndex && a->Liquid == b->Liquid &&
                   a->AmbientTempUnit == b->AmbientTempUnit &&
                   a->DensityMedium == b->DensityMedium && a->VaporTempUnit == b->VaporTempUnit,
               "a choice did not come back");
    CheckSavedFloat(a->MolWeight, b->MolWeight);
    CheckSavedFloat(a->HenryK, b->HenryK);
    CheckSavedFloat(a->AmbientTempC, b->AmbientTempC);
    CheckSavedFloat(a->VaporTempC, b->VaporTempC);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  PanelSelections selections;
  CalcSettings settings;
  if (in.ConsumeBool()) AnyValidState(in, selections, settings);

  // Any text for each key, then the keys read in the panel's order.
  std::map<std::string, std::string, std::less<>> file;
  for (const std::string_view key : kPanelKeyReadOrder) {
    std::string text = in.ConsumeRandomLengthString(80);
    PanelSelections p = selections;
    CalcSettings c = settings;
    ApplySavedKey(key, text, p, c);
    CheckState(p, c);
    FUZZ_CHECK(ScanSavedFields(text, "dfdf").size() <= 4, "more fields than asked");
    file.emplace(std::string(key), std::move(text));
  }
  ReadSavedSelections(
      [&](std::string_view key) {
        const auto it = file.find(key);
        return it == file.end() ? std::string() : it->second;
      },
      selections, settings);
  CheckState(selections, settings);

  CheckRoundTrip(in);
  return 0;
}
