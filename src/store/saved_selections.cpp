#include "store/saved_selections.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>

#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "store/profile_store.h"

namespace tavimor {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

// Optional sign and digits; the value as a double (exact up to 2^53, saturating to an
// infinity long before any overflow could occur).
std::optional<double> ScanInteger(std::string_view text, std::size_t& pos) {
  std::size_t p = pos;
  while (p < text.size() && IsWhiteSpace(text[p])) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  const std::size_t digitsBegin = p;
  p = SkipDigits(text, p);
  if (p == digitsBegin) return std::nullopt;
  double value = 0;
  for (std::size_t i = digitsBegin; i < p; ++i) value = value * 10 + (text[i] - '0');
  pos = p;
  return negative ? -value : value;
}

// A number as a field reads it, without the field's 14-character limit.
std::optional<double> ScanNumber(std::string_view text, std::size_t& pos) {
  const auto prefix = ScanNumberPrefix(text.substr(pos));
  if (!prefix) return std::nullopt;
  pos += prefix->End;
  return prefix->Value;
}

// A number held in a float field: a value beyond the float range cannot be held and counts
// as unreadable.
std::optional<float> AsFloat(double v) {
  if (!std::isfinite(v) || std::fabs(v) > static_cast<double>(FLT_MAX)) return std::nullopt;
  return HoldSingle(v);
}

// A choice held as its option identifier: the member read, or the fallback for any other
// number a hand-edited file may hold.
template <class Choice>
Choice ChoiceOf(double v, std::initializer_list<Choice> members, Choice fallback) {
  for (const Choice m : members) {
    if (v == static_cast<double>(m)) return m;
  }
  return fallback;
}

template <class Choice, std::size_t N>
Choice ChoiceOf(double v, const std::array<ChoiceRow<Choice>, N>& choices, Choice fallback) {
  for (const ChoiceRow<Choice>& row : choices) {
    if (v == static_cast<double>(row.Value)) return row.Value;
  }
  return fallback;
}

int32_t IndexIn(double v, int32_t count, int32_t fallback) {
  if (v >= 0 && v < count && v == std::floor(v)) return static_cast<int32_t>(v);
  return fallback;
}

// The fields of one key after scanning: values[i] exists for the fields that were read.
struct Scanned {
  std::vector<double> values;
  bool Has(std::size_t i) const { return i < values.size(); }
  // A number field: read, or the key's default when it is the field that failed (or does
  // not fit); nothing when parsing stopped before it.
  std::optional<float> Number(std::size_t i, float fallback) const {
    if (Has(i)) return AsFloat(values[i]).value_or(fallback);
    if (i == values.size()) return fallback;
    return std::nullopt;
  }
  // A parameter a dialog takes typed: as Number, but also the default, with replaced set,
  // where the number is one the dialog would refuse; replaced is set as well where the
  // default stands for a number that could not be read.
  std::optional<float> Parameter(std::size_t i, float fallback, bool (*accepted)(float),
                                 bool& replaced) const {
    if (i > values.size()) return std::nullopt;
    const std::optional<float> v = Has(i) ? AsFloat(values[i]) : std::nullopt;
    if (v && accepted(*v)) return v;
    replaced = true;
    return fallback;
  }
};

Scanned Scan(std::string_view text, std::string_view kinds) {
  return Scanned{ScanSavedFields(text, kinds)};
}

// A missing key or unreadable number takes the value of a panel without saved selections.
constexpr SideParams kDefaultSide;
constexpr float kDefaultPressure = PanelSelections{}.MeasuredPressure;
constexpr float kDefaultTempC = kDefaultSide.AmbientTempC;
constexpr float kDefaultMolWeight = kDefaultSide.MolWeight;
constexpr float kDefaultHenryK = kDefaultSide.HenryK;
static_assert(kDefaultSide.VaporTempC == kDefaultTempC);

void Assign(std::optional<float> v, float& field) {
  if (v) field = *v;
}

// "%d,%f,%d,%f": a From choice and value, then a To choice and value, each value checked as
// its dialog checks it typed. True when a value was replaced by its default.
template <class Enum>
bool ApplySidePairs(std::string_view text, std::initializer_list<Enum> members, Enum defaultChoice,
                    float defaultValue, bool (*accepted)(float), Enum SideParams::*choice,
                    float SideParams::*value, CalcSettings& settings) {
  if (text.empty()) {
    for (SideParams* side : {&settings.From, &settings.To}) {
      side->*choice = defaultChoice;
      side->*value = defaultValue;
    }
    return false;
  }
  const Scanned s = Scan(text, "dfdf");
  bool replaced = false;
  if (s.Has(0)) settings.From.*choice = ChoiceOf(s.values[0], members, defaultChoice);
  Assign(s.Parameter(1, defaultValue, accepted, replaced), settings.From.*value);
  if (s.Has(2)) settings.To.*choice = ChoiceOf(s.values[2], members, defaultChoice);
  Assign(s.Parameter(3, defaultValue, accepted, replaced), settings.To.*value);
  return replaced;
}

// "%f,%d" with a moisture or pressure index.
void ApplyNumberAndIndex(std::string_view text, float defaultValue, int32_t indexCount,
                         int32_t defaultIndex, float* value, int32_t& index) {
  if (text.empty()) {
    if (value) *value = defaultValue;
    index = defaultIndex;
    return;
  }
  const Scanned s = Scan(text, "fd");
  if (value) Assign(s.Number(0, defaultValue), *value);
  if (s.Has(1)) index = IndexIn(s.values[1], indexCount, defaultIndex);
}

bool ApplyMolWeight(std::string_view text, CalcSettings& settings) {
  if (text.empty()) {
    settings.From.GasIndex = settings.To.GasIndex = 1;
    settings.From.MolWeight = settings.To.MolWeight = kDefaultMolWeight;
    return false;
  }
  const Scanned s = Scan(text, "dfdf");
  bool replaced = false;
  if (s.Has(0)) settings.From.GasIndex = static_cast<int16_t>(IndexIn(s.values[0], kGasCount, 1));
  Assign(s.Parameter(1, kDefaultMolWeight, IsAcceptedPositive, replaced), settings.From.MolWeight);
  if (s.Has(2)) settings.To.GasIndex = static_cast<int16_t>(IndexIn(s.values[2], kGasCount, 1));
  Assign(s.Parameter(3, kDefaultMolWeight, IsAcceptedPositive, replaced), settings.To.MolWeight);
  return replaced;
}

void ApplyMedium(std::string_view text, CalcSettings& settings) {
  constexpr auto kDefault = DensityMedium::NaturalGas;
  if (text.empty()) {
    settings.From.DensityMedium = settings.To.DensityMedium = kDefault;
    return;
  }
  const Scanned s = Scan(text, "dd");
  const auto medium = [](double v) { return ChoiceOf(v, kDensityMediumChoices, kDefault); };
  if (s.Has(0)) settings.From.DensityMedium = medium(s.values[0]);
  if (s.Has(1)) settings.To.DensityMedium = medium(s.values[1]);
}

void ApplyFormulas(std::string_view text, CalcSettings& settings) {
  if (text.empty()) {
    settings.SwvpFormula = SwvpFormula::GoffGratch;
    settings.EnhancementFactor = EnhancementFactor::NoEnhancement;
    return;
  }
  const Scanned s = Scan(text, "dd");
  if (s.Has(0)) {
    settings.SwvpFormula = ChoiceOf(s.values[0], kSwvpFormulaChoices, SwvpFormula::GoffGratch);
  }
  if (s.Has(1)) {
    settings.EnhancementFactor =
        ChoiceOf(s.values[1], kEnhancementFactorChoices, EnhancementFactor::NoEnhancement);
  }
}

void ApplyGasMethod(std::string_view text, CalcSettings& settings) {
  if (text.empty()) {
    settings.GasMethod = GasMethod::IgtBulletin8;
    return;
  }
  const Scanned s = Scan(text, "d");
  if (s.Has(0))
    settings.GasMethod = ChoiceOf(s.values[0], kGasMethodChoices, GasMethod::IgtBulletin8);
}

void ApplyIsoAndPrsr(std::string_view text, PanelSelections& selections) {
  if (text.empty()) {
    selections.IsobarChoice = kIsobarNone;
    selections.PressureChoice = kComputeAtPressure;
    return;
  }
  const Scanned s = Scan(text, "dd");
  if (s.Has(0)) {
    selections.IsobarChoice =
        ChoiceOf(s.values[0], {kIsobarMeasured, kIsobarNone, kIsobarComputed}, kIsobarNone);
  }
  if (s.Has(1)) {
    selections.PressureChoice =
        ChoiceOf(s.values[1], {kComputeAtMeasured, kComputeAtPressure}, kComputeAtPressure);
  }
}

// "%f" with six decimals; a value that is not finite (never accepted by a dialog) is
// written as the field's default rather than as text no reader takes back.
std::string SavedFloat(float v, float fallback) {
  return FormatFixed(std::isfinite(v) ? v : fallback, 6);
}

std::string Join(std::initializer_list<std::string> parts) {
  std::string line;
  for (const std::string& p : parts) {
    if (!line.empty()) line += ',';
    line += p;
  }
  return line;
}

std::string Int(int64_t v) {
  return std::to_string(v);
}

}  // namespace

std::vector<double> ScanSavedFields(std::string_view text, std::string_view kinds) {
  std::vector<double> values;
  std::size_t pos = 0;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != ',') break;
      ++pos;
    }
    const std::optional<double> v =
        kinds[i] == 'd' ? ScanInteger(text, pos) : ScanNumber(text, pos);
    if (!v) break;
    values.push_back(*v);
  }
  return values;
}

bool ApplySavedKey(std::string_view key, std::string_view text, PanelSelections& selections,
                   CalcSettings& settings) {
  if (key == kKeyFromDew) {
    ApplyNumberAndIndex(text, 0, kMoistureUnitCount, 1, &selections.FromValue, selections.FromUnit);
  } else if (key == kKeyFromPrs) {
    ApplyNumberAndIndex(text, kDefaultPressure, kPressureUnitCount, 0, &selections.MeasuredPressure,
                        selections.MeasuredPressureUnit);
  } else if (key == kKeyToDew) {
    ApplyNumberAndIndex(text, 0, kMoistureUnitCount, 1, nullptr, selections.ToUnit);
  } else if (key == kKeyToPrs) {
    ApplyNumberAndIndex(text, kDefaultPressure, kPressureUnitCount, 0, &selections.ComputePressure,
                        selections.ComputePressureUnit);
  } else if (key == kKeyMW) {
    return ApplyMolWeight(text, settings);
  } else if (key == kKeyHenry) {
    return ApplySidePairs(
        text,
        {LiquidChoice::Hexane, LiquidChoice::Hexene, LiquidChoice::Benzene,
         LiquidChoice::TransformerOil, LiquidChoice::HexaneBenzene5050, LiquidChoice::CustomLiquid},
        LiquidChoice::Hexane, kDefaultHenryK, IsAcceptedPositive, &SideParams::Liquid,
        &SideParams::HenryK, settings);
  } else if (key == kKeyTAmbient) {
    return ApplySidePairs(text,
                          {AmbientTempUnit::AmbientCelsius, AmbientTempUnit::AmbientFahrenheit},
                          AmbientTempUnit::AmbientCelsius, kDefaultTempC, IsAcceptedTemperatureC,
                          &SideParams::AmbientTempUnit, &SideParams::AmbientTempC, settings);
  } else if (key == kKeyMediumDensity) {
    ApplyMedium(text, settings);
  } else if (key == kKeyTDensity) {
    return ApplySidePairs(text, {VaporTempUnit::VaporCelsius, VaporTempUnit::VaporFahrenheit},
                          VaporTempUnit::VaporCelsius, kDefaultTempC, IsAcceptedTemperatureC,
                          &SideParams::VaporTempUnit, &SideParams::VaporTempC, settings);
  } else if (key == kKeyEquDensity) {
    ApplyGasMethod(text, settings);
  } else if (key == kKeyEquSWVP) {
    ApplyFormulas(text, settings);
  } else if (key == kKeyIsoAndPrsr) {
    ApplyIsoAndPrsr(text, selections);
  }
  return false;
}

std::vector<std::string_view> ReadSavedSelections(const ProfileReader& read,
                                                  PanelSelections& selections,
                                                  CalcSettings& settings) {
  std::vector<std::string_view> replaced;
  for (const std::string_view key : kPanelKeyReadOrder) {
    if (ApplySavedKey(key, read(key), selections, settings)) replaced.push_back(key);
  }
  return replaced;
}

ProfileReader ProfileReaderForFile(std::filesystem::path file) {
  // The file is read once, at the first key, however many keys follow.
  auto content = std::make_shared<std::optional<std::string>>();
  return [file = std::move(file), content](std::string_view key) {
    if (!*content) {
      ProfileFile read = ReadProfileFile(file);
      *content = read.Status == ProfileFileStatus::Ok ? std::move(read.Bytes) : std::string();
    }
    return ProfileString(**content, kProfileSection, key, kSavedLineMaxRead);
  };
}

ProfileReader ProfileReaderForText(std::string text) {
  return [text = std::move(text)](std::string_view key) {
    return ProfileString(text, kProfileSection, key, kSavedLineMaxRead);
  };
}

std::string SavedFieldText(std::string_view text) {
  std::string out;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == ',' || c < 0x20 || c == 0x7f) break;
    // Count characters, not bytes, and never cut a UTF-8 sequence.
    if ((c & 0xC0) != 0x80) {
      if (chars == kSavedFieldMaxChars) break;
      ++chars;
    }
    out += text[i];
  }
  return out;
}

SavedKeys ComposePanelSavedKeys(const PanelSelectionTexts& panel, const CalcSettings& s) {
  const SideParams& f = s.From;
  const SideParams& t = s.To;
  const auto choice = [](auto e) { return Int(static_cast<int16_t>(e)); };
  SavedKeys keys;
  keys.emplace_back(kKeyIsoAndPrsr, Join({Int(panel.IsobarChoice), Int(panel.PressureChoice)}));
  keys.emplace_back(kKeyFromDew, SavedFieldText(panel.FromText) + "," + Int(panel.FromListIndex));
  keys.emplace_back(kKeyToDew, "0," + Int(panel.ToListIndex));
  keys.emplace_back(kKeyFromPrs,
                    SavedFieldText(panel.MeasuredText) + "," + Int(panel.MeasuredListIndex));
  keys.emplace_back(kKeyToPrs,
                    SavedFieldText(panel.ComputeText) + "," + Int(panel.ComputeListIndex));
  keys.emplace_back(kKeyTDensity,
                    Join({choice(f.VaporTempUnit), SavedFloat(f.VaporTempC, kDefaultTempC),
                          choice(t.VaporTempUnit), SavedFloat(t.VaporTempC, kDefaultTempC)}));
  keys.emplace_back(kKeyMW, Join({choice(f.GasIndex), SavedFloat(f.MolWeight, kDefaultMolWeight),
                                  choice(t.GasIndex), SavedFloat(t.MolWeight, kDefaultMolWeight)}));
  keys.emplace_back(kKeyTAmbient,
                    Join({choice(f.AmbientTempUnit), SavedFloat(f.AmbientTempC, kDefaultTempC),
                          choice(t.AmbientTempUnit), SavedFloat(t.AmbientTempC, kDefaultTempC)}));
  keys.emplace_back(kKeyHenry, Join({choice(f.Liquid), SavedFloat(f.HenryK, kDefaultHenryK),
                                     choice(t.Liquid), SavedFloat(t.HenryK, kDefaultHenryK)}));
  keys.emplace_back(kKeyEquSWVP, Join({Int(static_cast<int32_t>(s.SwvpFormula)),
                                       Int(static_cast<int32_t>(s.EnhancementFactor))}));
  keys.emplace_back(kKeyEquDensity, choice(s.GasMethod));
  keys.emplace_back(kKeyMediumDensity, Join({choice(f.DensityMedium), choice(t.DensityMedium)}));
  return keys;
}

}  // namespace tavimor
