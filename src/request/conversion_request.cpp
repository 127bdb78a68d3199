#include "request/conversion_request.h"

#include <array>
#include <cmath>

#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "request/choice_names.h"

namespace tavimor {

namespace {

using Refusal = std::optional<FieldRefusal>;

constexpr std::string_view kAboveZero = "a number above 0";
constexpr std::string_view kDialogTemperature = "a temperature above -80 and below 200 (°C)";

FieldRefusal UnknownName(std::string_view what, std::string expected) {
  return FieldRefusal{FieldRefusal::Kind::UnknownName, what, std::move(expected), std::nullopt};
}

FieldRefusal BadNumber(std::string_view expected) {
  return FieldRefusal{FieldRefusal::Kind::BadNumber, {}, std::string(expected), std::nullopt};
}

// A number read the way a panel field reads it and held in single precision, as the field's
// number is; nothing when the text has no numeric prefix.
std::optional<float> FieldNumber(std::string_view text) {
  const auto number = ReadNumberIfAny(text);
  if (!number) return std::nullopt;
  return HoldSingle(*number);
}

// Units.

template <int ConversionRequest::*Unit>
Refusal SetUnit(ConversionRequest& request, std::string_view text) {
  const auto unit = ParseMoistureUnit(text);
  if (!unit) return UnknownName("unit", MoistureUnitNameList());
  request.*Unit = *unit;
  return std::nullopt;
}

template <int ConversionRequest::*Unit>
FieldValue GetUnit(const ConversionRequest& request) {
  const auto unit = MoistureUnitFromIndex(request.*Unit);
  if (!unit) return std::monostate{};
  return std::string(kMoistureUnits[static_cast<std::size_t>(*unit)].Name);
}

// Pressures: the command gives "P[,UNIT]", the other front ends the number and the unit apart.

// The pressure unit after the comma of "P,UNIT"; a refusal names that part.
Refusal ReadUnitPart(std::string_view unitText, int& unit) {
  const auto read = ParsePressureUnit(unitText);
  if (!read) {
    FieldRefusal refusal = UnknownName("pressure unit", PressureUnitNameList());
    refusal.Part = std::string(unitText);
    return refusal;
  }
  unit = *read;
  return std::nullopt;
}

Refusal ParsePressure(std::string_view text, PressureSetting& pressure) {
  PressureSetting read;
  std::string_view number = text;
  if (const auto comma = text.find(','); comma != std::string_view::npos) {
    number = text.substr(0, comma);
    if (auto refusal = ReadUnitPart(text.substr(comma + 1), read.Unit)) return refusal;
  }
  const auto value = FieldNumber(number);
  if (!value) return BadNumber("a number, optionally followed by a comma and a pressure unit");
  read.Value = *value;
  pressure = read;
  return std::nullopt;
}

Refusal SetMeasuredText(ConversionRequest& request, std::string_view text) {
  return ParsePressure(text, request.Measured);
}

Refusal SetComputeAtText(ConversionRequest& request, std::string_view text) {
  PressureSetting pressure;
  if (auto refusal = ParsePressure(text, pressure)) return refusal;
  request.ComputeAt = pressure;
  return std::nullopt;
}

Refusal SetMeasuredNumber(ConversionRequest& request, double value, NumberCheck) {
  request.Measured.Value = HoldSingle(value);
  return std::nullopt;
}

// A compute-at pressure given as a number is in millibar until its unit is given.
Refusal SetComputeAtNumber(ConversionRequest& request, double value, NumberCheck) {
  request.ComputeAt = PressureSetting{HoldSingle(value), PressureSetting{}.Unit};
  return std::nullopt;
}

Refusal SetMeasuredUnit(ConversionRequest& request, std::string_view text) {
  const auto unit = ParsePressureUnit(text);
  if (!unit) return UnknownName("pressure unit", PressureUnitNameList());
  request.Measured.Unit = *unit;
  return std::nullopt;
}

Refusal SetComputeAtUnit(ConversionRequest& request, std::string_view text) {
  if (!request.ComputeAt) {
    return FieldRefusal{FieldRefusal::Kind::Other,
                        {},
                        "compute_at_unit needs compute_at, the pressure to compute at",
                        std::nullopt};
  }
  const auto unit = ParsePressureUnit(text);
  if (!unit) return UnknownName("pressure unit", PressureUnitNameList());
  request.ComputeAt->Unit = *unit;
  return std::nullopt;
}

FieldValue GetMeasured(const ConversionRequest& request) {
  return static_cast<double>(request.Measured.Value);
}

FieldValue GetMeasuredUnit(const ConversionRequest& request) {
  if (!IsPressureUnitIndex(request.Measured.Unit)) return std::monostate{};
  return PressureUnitName(request.Measured.Unit);
}

FieldValue GetComputeAt(const ConversionRequest& request) {
  if (!request.ComputeAt) return std::monostate{};
  return static_cast<double>(request.ComputeAt->Value);
}

FieldValue GetComputeAtUnit(const ConversionRequest& request) {
  if (!request.ComputeAt || !IsPressureUnitIndex(request.ComputeAt->Unit)) {
    return std::monostate{};
  }
  return PressureUnitName(request.ComputeAt->Unit);
}

// The choices of the physics and of a side's medium.

template <auto Member, auto& Choices>
Refusal SetChoice(ConversionRequest& request, std::string_view text, std::string_view what) {
  const auto choice = ParseChoice(text, Choices);
  if (!choice) return UnknownName(what, ChoiceNameList(Choices));
  request.Calc.*Member = *choice;
  return std::nullopt;
}

template <auto Member, auto& Choices>
FieldValue GetChoice(const ConversionRequest& request) {
  return std::string(ChoiceRowOf(Choices, request.Calc.*Member).Name);
}

Refusal SetFormula(ConversionRequest& request, std::string_view text) {
  return SetChoice<&CalcSettings::SwvpFormula, kSwvpFormulaChoices>(request, text, "formula");
}

Refusal SetEnhancement(ConversionRequest& request, std::string_view text) {
  return SetChoice<&CalcSettings::EnhancementFactor, kEnhancementFactorChoices>(
      request, text, "enhancement factor");
}

Refusal SetGasMethod(ConversionRequest& request, std::string_view text) {
  return SetChoice<&CalcSettings::GasMethod, kGasMethodChoices>(request, text, "gas method");
}

// A side's parameters, as its dialog takes them when typed.

template <SideParams CalcSettings::*Side>
Refusal SetMedium(ConversionRequest& request, std::string_view text) {
  const auto medium = ParseChoice(text, kDensityMediumChoices);
  if (!medium) return UnknownName("medium", ChoiceNameList(kDensityMediumChoices));
  (request.Calc.*Side).DensityMedium = *medium;
  return std::nullopt;
}

template <SideParams CalcSettings::*Side>
FieldValue GetMedium(const ConversionRequest& request) {
  return std::string(ChoiceRowOf(kDensityMediumChoices, (request.Calc.*Side).DensityMedium).Name);
}

constexpr std::string_view ExpectedOf(TypedParam param) {
  return param == TypedParam::MolWeight || param == TypedParam::HenryK ? kAboveZero
                                                                       : kDialogTemperature;
}

float SideParams::*FieldOf(TypedParam param) {
  switch (param) {
    case TypedParam::MolWeight:
      return &SideParams::MolWeight;
    case TypedParam::HenryK:
      return &SideParams::HenryK;
    case TypedParam::AmbientTempC:
      return &SideParams::AmbientTempC;
    case TypedParam::VaporTempC:
      break;
  }
  return &SideParams::VaporTempC;
}

template <SideParams CalcSettings::*Side, TypedParam Param>
Refusal SetSideNumber(ConversionRequest& request, double value, NumberCheck check) {
  SideParams& side = request.Calc.*Side;
  const float held = HoldSingle(value);
  if (check == NumberCheck::AsSaved) {
    side.*FieldOf(Param) = held;
  } else if (!SetTypedParam(side, Param, held)) {
    return BadNumber(ExpectedOf(Param));
  }
  return std::nullopt;
}

template <SideParams CalcSettings::*Side, TypedParam Param>
Refusal SetSideText(ConversionRequest& request, std::string_view text) {
  const auto number = FieldNumber(text);
  if (!number) return BadNumber(ExpectedOf(Param));
  return SetSideNumber<Side, Param>(request, *number, NumberCheck::AsTyped);
}

template <SideParams CalcSettings::*Side, TypedParam Param>
FieldValue GetSideNumber(const ConversionRequest& request) {
  return static_cast<double>((request.Calc.*Side).*FieldOf(Param));
}

// How results are written.

Refusal SetIncrementNumber(ConversionRequest& request, double value, NumberCheck) {
  request.Increment = HoldSingle(value);
  return std::nullopt;
}

Refusal SetIncrementText(ConversionRequest& request, std::string_view text) {
  const auto number = FieldNumber(text);
  if (!number) return BadNumber("a number");
  request.Increment = *number;
  return std::nullopt;
}

FieldValue GetIncrement(const ConversionRequest& request) {
  if (!request.Increment) return std::monostate{};
  return static_cast<double>(*request.Increment);
}

// Uncertainties: "U" or "U%" (percent of the number), and for a pressure also "U,UNIT"; the
// number is all of the text before "%" or ",", blanks aside.

constexpr std::string_view kUncertaintyExpected =
    "a number of 0 or more, or a percentage such as 5%";
constexpr std::string_view kPressureUncertaintyExpected =
    "a number of 0 or more, a percentage such as 1%, or a number, a comma and a pressure unit";

std::string_view TrimmedBlanks(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The number of a text that is one number and nothing else, blanks aside.
std::optional<double> WholeNumber(std::string_view text) {
  text = TrimmedBlanks(text);
  const auto prefix = ScanNumberPrefix(text);
  if (!prefix || prefix->End != text.size()) return std::nullopt;
  return prefix->Value;
}

bool IsUncertainty(double value) {
  return std::isfinite(value) && value >= 0;
}

// "U" or "U%".
std::optional<ValueUncertainty> ReadUncertainty(std::string_view text) {
  text = TrimmedBlanks(text);
  const bool relative = text.ends_with('%');
  if (relative) text.remove_suffix(1);
  const auto value = WholeNumber(text);
  if (!value || !IsUncertainty(*value)) return std::nullopt;
  return ValueUncertainty{*value, relative};
}

std::string PercentText(double percent) {
  return FormatAllDigits(percent) + "%";
}

Refusal SetFromUncertaintyText(ConversionRequest& request, std::string_view text) {
  const auto read = ReadUncertainty(text);
  if (!read) return BadNumber(kUncertaintyExpected);
  request.FromUncertainty = *read;
  return std::nullopt;
}

// A number is in the From unit.
Refusal SetFromUncertaintyNumber(ConversionRequest& request, double value, NumberCheck) {
  if (!IsUncertainty(value)) return BadNumber(kUncertaintyExpected);
  request.FromUncertainty = ValueUncertainty{value, false};
  return std::nullopt;
}

FieldValue GetFromUncertainty(const ConversionRequest& request) {
  const auto& u = request.FromUncertainty;
  if (!u) return std::monostate{};
  if (u->Relative) return PercentText(u->Expanded);
  return u->Expanded;
}

template <std::optional<PressureUncertainty> ConversionRequest::*Field>
Refusal SetPressureUncertaintyText(ConversionRequest& request, std::string_view text) {
  PressureUncertainty read;
  if (const auto comma = text.find(','); comma != std::string_view::npos) {
    int unit = 0;
    if (auto refusal = ReadUnitPart(text.substr(comma + 1), unit)) return refusal;
    const auto value = WholeNumber(text.substr(0, comma));
    if (!value || !IsUncertainty(*value)) return BadNumber(kPressureUncertaintyExpected);
    read = {*value, false, unit};
  } else {
    const auto value = ReadUncertainty(text);
    if (!value) return BadNumber(kPressureUncertaintyExpected);
    read = {value->Expanded, value->Relative, std::nullopt};
  }
  request.*Field = read;
  return std::nullopt;
}

// A number is in the unit of its pressure.
template <std::optional<PressureUncertainty> ConversionRequest::*Field>
Refusal SetPressureUncertaintyNumber(ConversionRequest& request, double value, NumberCheck) {
  if (!IsUncertainty(value)) return BadNumber(kPressureUncertaintyExpected);
  request.*Field = PressureUncertainty{value, false, std::nullopt};
  return std::nullopt;
}

template <std::optional<PressureUncertainty> ConversionRequest::*Field>
FieldValue GetPressureUncertainty(const ConversionRequest& request) {
  const auto& u = request.*Field;
  if (!u) return std::monostate{};
  if (u->Relative) return PercentText(u->Expanded);
  if (u->Unit && IsPressureUnitIndex(*u->Unit)) {
    return FormatAllDigits(u->Expanded) + "," + PressureUnitName(*u->Unit);
  }
  return u->Expanded;
}

Refusal SetCoverageFactorNumber(ConversionRequest& request, double value, NumberCheck) {
  if (!(std::isfinite(value) && value > 0)) return BadNumber(kAboveZero);
  request.CoverageFactor = value;
  return std::nullopt;
}

Refusal SetCoverageFactorText(ConversionRequest& request, std::string_view text) {
  const auto value = WholeNumber(text);
  if (!value) return BadNumber(kAboveZero);
  return SetCoverageFactorNumber(request, *value, NumberCheck::AsTyped);
}

FieldValue GetCoverageFactor(const ConversionRequest& request) {
  return request.CoverageFactor;
}

template <bool ConversionRequest::*Switch>
Refusal SetSwitch(ConversionRequest& request, std::string_view) {
  request.*Switch = true;
  return std::nullopt;
}

template <bool ConversionRequest::*Switch>
Refusal SetSwitchNumber(ConversionRequest& request, double value, NumberCheck) {
  request.*Switch = value != 0;
  return std::nullopt;
}

template <bool ConversionRequest::*Switch>
FieldValue GetSwitch(const ConversionRequest& request) {
  return FieldValue(std::in_place_type<bool>, request.*Switch);
}

constexpr auto kFrom = &CalcSettings::From;
constexpr auto kTo = &CalcSettings::To;

// The rows of one side's parameters.
template <SideParams CalcSettings::*Side>
constexpr std::array<RequestField, 5> SideFields(std::string_view mw, std::string_view k,
                                                 std::string_view ambient, std::string_view medium,
                                                 std::string_view vaporTemp,
                                                 std::string_view keyword) {
  using P = TypedParam;
  return {{
      {mw, keyword, "mw", true, SetSideText<Side, P::MolWeight>, SetSideNumber<Side, P::MolWeight>,
       GetSideNumber<Side, P::MolWeight>},
      {k, keyword, "k", true, SetSideText<Side, P::HenryK>, SetSideNumber<Side, P::HenryK>,
       GetSideNumber<Side, P::HenryK>},
      {ambient, keyword, "ambient", true, SetSideText<Side, P::AmbientTempC>,
       SetSideNumber<Side, P::AmbientTempC>, GetSideNumber<Side, P::AmbientTempC>},
      {medium, keyword, "medium", true, SetMedium<Side>, nullptr, GetMedium<Side>},
      {vaporTemp, keyword, "vapor_temp", true, SetSideText<Side, P::VaporTempC>,
       SetSideNumber<Side, P::VaporTempC>, GetSideNumber<Side, P::VaporTempC>},
  }};
}

constexpr auto kFromSide = SideFields<kFrom>("--from-mw", "--from-k", "--from-ambient",
                                             "--from-medium", "--from-vapor-temp", "from_params");
constexpr auto kToSide = SideFields<kTo>("--to-mw", "--to-k", "--to-ambient", "--to-medium",
                                         "--to-vapor-temp", "to_params");

// In the order a front end applies them: a pressure before its unit.
constexpr RequestField kFields[] = {
    {"--from", "from_unit", "", true, SetUnit<&ConversionRequest::FromUnit>, nullptr,
     GetUnit<&ConversionRequest::FromUnit>},
    {"--to", "to_unit", "", true, SetUnit<&ConversionRequest::ToUnit>, nullptr,
     GetUnit<&ConversionRequest::ToUnit>},
    {"--measured", "measured", "", true, SetMeasuredText, SetMeasuredNumber, GetMeasured},
    {"", "measured_unit", "", true, SetMeasuredUnit, nullptr, GetMeasuredUnit},
    {"--compute-at", "compute_at", "", true, SetComputeAtText, SetComputeAtNumber, GetComputeAt},
    {"", "compute_at_unit", "", true, SetComputeAtUnit, nullptr, GetComputeAtUnit},
    {"--formula", "formula", "", true, SetFormula, nullptr,
     GetChoice<&CalcSettings::SwvpFormula, kSwvpFormulaChoices>},
    {"--enhancement", "enhancement", "", true, SetEnhancement, nullptr,
     GetChoice<&CalcSettings::EnhancementFactor, kEnhancementFactorChoices>},
    {"--gas-method", "gas_method", "", true, SetGasMethod, nullptr,
     GetChoice<&CalcSettings::GasMethod, kGasMethodChoices>},
    kFromSide[0],
    kFromSide[1],
    kFromSide[2],
    kFromSide[3],
    kFromSide[4],
    kToSide[0],
    kToSide[1],
    kToSide[2],
    kToSide[3],
    kToSide[4],
    {"--increment", "increment", "", true, SetIncrementText, SetIncrementNumber, GetIncrement},
    {"--raw", "raw", "", false, SetSwitch<&ConversionRequest::Raw>,
     SetSwitchNumber<&ConversionRequest::Raw>, GetSwitch<&ConversionRequest::Raw>},
    {"--spread", "", "", false, SetSwitch<&ConversionRequest::Spread>,
     SetSwitchNumber<&ConversionRequest::Spread>, GetSwitch<&ConversionRequest::Spread>},
    {"--uncertainty", "u", "", true, SetFromUncertaintyText, SetFromUncertaintyNumber,
     GetFromUncertainty},
    {"--measured-uncertainty", "measured_u", "", true,
     SetPressureUncertaintyText<&ConversionRequest::MeasuredUncertainty>,
     SetPressureUncertaintyNumber<&ConversionRequest::MeasuredUncertainty>,
     GetPressureUncertainty<&ConversionRequest::MeasuredUncertainty>},
    {"--compute-at-uncertainty", "compute_at_u", "", true,
     SetPressureUncertaintyText<&ConversionRequest::ComputeAtUncertainty>,
     SetPressureUncertaintyNumber<&ConversionRequest::ComputeAtUncertainty>,
     GetPressureUncertainty<&ConversionRequest::ComputeAtUncertainty>},
    {"--coverage-factor", "coverage_factor", "", true, SetCoverageFactorText,
     SetCoverageFactorNumber, GetCoverageFactor},
    {"--include-formula", "include_formula", "", false,
     SetSwitch<&ConversionRequest::IncludeFormula>,
     SetSwitchNumber<&ConversionRequest::IncludeFormula>,
     GetSwitch<&ConversionRequest::IncludeFormula>},
};

}  // namespace

MoistureInputs InputsOf(const ConversionRequest& request) {
  MoistureInputs inputs;
  const PressureSetting compute = request.ComputeAt.value_or(request.Measured);
  inputs.Increment = request.Increment.value_or(0.0f);
  inputs.FromUnit = request.FromUnit;
  inputs.FromListSelection = request.FromUnit;
  inputs.ToListSelection = request.ToUnit;
  inputs.MeasuredPressure = request.Measured.Value;
  inputs.MeasuredPressureUnit = request.Measured.Unit;
  inputs.ComputePressure = compute.Value;
  inputs.ComputePressureUnit = compute.Unit;
  return inputs;
}

bool PropagatesUncertainty(const ConversionRequest& request) {
  return request.FromUncertainty || request.MeasuredUncertainty || request.ComputeAtUncertainty ||
         request.IncludeFormula;
}

UncertaintyRequest UncertaintyRequestOf(const ConversionRequest& request,
                                        const MoistureInputs& inputs) {
  UncertaintyRequest u;
  u.Inputs = inputs;
  if (request.FromUncertainty) {
    u.FromExpanded = request.FromUncertainty->Expanded;
    u.FromRelative = request.FromUncertainty->Relative;
  }
  u.CoverageFactor = request.CoverageFactor;
  u.Measured = request.MeasuredUncertainty.value_or(PressureUncertainty{});
  u.ComputeAt = request.ComputeAtUncertainty.value_or(PressureUncertainty{});
  u.ComputeAtMeasured = !request.ComputeAt;
  u.IncludeFormula = request.IncludeFormula;
  return u;
}

ConversionRequest RequestOf(const MoistureInputs& inputs, const CalcSettings& settings,
                            bool atMeasured) {
  ConversionRequest request;
  request.Calc = settings;
  request.FromUnit = inputs.FromUnit;
  request.ToUnit = inputs.ToListSelection;
  request.Measured = {inputs.MeasuredPressure, inputs.MeasuredPressureUnit};
  if (!atMeasured) request.ComputeAt = {inputs.ComputePressure, inputs.ComputePressureUnit};
  request.Increment = inputs.Increment;
  return request;
}

std::vector<std::string_view> ApplySavedSelections(const ProfileReader& read,
                                                   ConversionRequest& request) {
  PanelSelections saved;
  std::vector<std::string_view> replaced = ReadSavedSelections(read, saved, request.Calc);
  request.FromUnit = saved.FromUnit;
  request.ToUnit = saved.ToUnit;
  request.Measured = {saved.MeasuredPressure, saved.MeasuredPressureUnit};
  if (saved.PressureChoice == kComputeAtMeasured) {
    request.ComputeAt.reset();
  } else {
    request.ComputeAt = PressureSetting{saved.ComputePressure, saved.ComputePressureUnit};
  }
  return replaced;
}

std::string RefusedSavedValueMessage(std::string_view key) {
  std::string message = "the saved selections hold a value for ";
  return message.append(key).append(" that its dialog refuses; its default is used instead");
}

std::string RefusalMessage(const FieldRefusal& refusal, std::string_view name,
                           std::string_view value) {
  std::string message(name);
  switch (refusal.Why) {
    case FieldRefusal::Kind::UnknownName:
      message.append(": unknown ").append(refusal.What).append(" ").append(value);
      message.append(": expected one of ").append(refusal.Expected);
      break;
    case FieldRefusal::Kind::BadNumber:
      message.append(" must be ").append(refusal.Expected).append(", not ").append(value);
      break;
    case FieldRefusal::Kind::Other:
      message = refusal.Expected;
      break;
  }
  return message;
}

std::span<const RequestField> RequestFields() {
  return kFields;
}

const RequestField* FieldByOption(std::string_view option) {
  if (option.empty()) return nullptr;
  for (const RequestField& field : kFields) {
    if (field.Option == option) return &field;
  }
  return nullptr;
}

std::optional<UnmetNeed> UnmetNeedOf(const ConversionRequest& request) {
  if (request.ComputeAtUncertainty && !request.ComputeAt) {
    return UnmetNeed{FieldByKeyword("compute_at_u"), FieldByKeyword("compute_at")};
  }
  return std::nullopt;
}

std::string NeedsMessage(std::string_view given, std::string_view needed) {
  return std::string(given) + " needs " + std::string(needed);
}

const RequestField* FieldByKeyword(std::string_view keyword, std::string_view key) {
  if (keyword.empty()) return nullptr;
  for (const RequestField& field : kFields) {
    if (field.Keyword == keyword && field.Key == key) return &field;
  }
  return nullptr;
}

}  // namespace tavimor
