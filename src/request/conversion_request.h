#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/calc_settings.h"
#include "core/moisture_conversion.h"
#include "core/uncertainty.h"
#include "store/saved_selections.h"

namespace tavimor {

// One conversion as every front end asks for it. tavimor-convert, the Python package and the
// page in the browser each read their own syntax into this and nothing else; the defaults
// are written here once, those of a panel without saved selections.

// A pressure as a pressure field and its unit list hold it.
struct PressureSetting {
  float Value = PanelSelections{}.MeasuredPressure;   // the field's number, single precision
  int Unit = PanelSelections{}.MeasuredPressureUnit;  // PressureUnit index
};

// The expanded uncertainty of the From value: in the From unit, or in percent of the value.
struct ValueUncertainty {
  double Expanded = 0;  // U >= 0
  bool Relative = false;
};

struct ConversionRequest {
  CalcSettings Calc;  // formula, factor, natural-gas method, both sides' parameters
  int FromUnit = PanelSelections{}.FromUnit;  // MoistureUnit index
  int ToUnit = PanelSelections{}.ToUnit;
  PressureSetting Measured;
  std::optional<PressureSetting> ComputeAt;  // nothing: at the measured pressure
  std::optional<float> Increment;            // nothing: no delta
  bool Raw = false;     // every digit of a held value instead of the text the panel shows
  bool Spread = false;  // also the results under every formula and enhancement factor
  // How sure the result is: the expanded uncertainties of the From value and the pressures
  // (nothing: taken as exact), their coverage factor, and whether the spread over the formula
  // choices counts too. With any of them the result gains its 95 % coverage interval.
  std::optional<ValueUncertainty> FromUncertainty;
  std::optional<PressureUncertainty> MeasuredUncertainty;
  std::optional<PressureUncertainty> ComputeAtUncertainty;
  double CoverageFactor = 2;  // k: a standard uncertainty is U / k
  bool IncludeFormula = false;
};

// The engine's inputs for the request, without a From value. The compute-at pressure is the
// measured one unless the request names another.
MoistureInputs InputsOf(const ConversionRequest& request);

// Whether the request asks for the result's coverage interval.
bool PropagatesUncertainty(const ConversionRequest& request);

// The propagation of the request's uncertainties through the conversion of inputs (their
// From value and pressures), with the fixed seed and number of trials.
UncertaintyRequest UncertaintyRequestOf(const ConversionRequest& request,
                                        const MoistureInputs& inputs);

// The other way: the request whose inputs these are (a panel's conversion as the options of
// the other front ends), computing at the measured pressure where atMeasured says so.
ConversionRequest RequestOf(const MoistureInputs& inputs, const CalcSettings& settings,
                            bool atMeasured);

// The units, pressures, compute-at choice, formula, factor, method and both sides' parameters
// of the saved selections that read gives (the section "Tavimor" of a file or of a text, see
// store/saved_selections.h). Numbers are taken as stored, except a parameter its dialog would
// refuse typed, which takes its default; the saved From value is not used. Returns the keys
// that held such a parameter, in reading order.
std::vector<std::string_view> ApplySavedSelections(const ProfileReader& read,
                                                   ConversionRequest& request);

// What a front end says of a key that held such a parameter, in the same words everywhere:
// "the saved selections hold a value for MW that its dialog refuses; its default is used
// instead".
std::string RefusedSavedValueMessage(std::string_view key);

// Why a field refused a value.
struct FieldRefusal {
  enum class Kind {
    UnknownName,  // a name that is none of a list
    BadNumber,    // a number (or text) outside what the field takes
    Other,        // said by Expected alone
  };
  Kind Why = Kind::Other;
  std::string_view What;            // UnknownName: what the name should name ("unit", "formula")
  std::string Expected;             // the names, or what the number must be ("a number above 0")
  std::optional<std::string> Part;  // the part of the text refused, when it is not all of it
};

// The message of a refusal, in the same words on every front end: name is the field's name
// as the user wrote it in that front end ("--from-mw", "to_params: mw") and value the value
// as that front end quotes it ("\"0\"", "0.0"); pass the refusal's Part instead of the whole
// text where it has one.
//   --formula: unknown formula "wexler": expected one of goff-gratch, hyland-wexler, ...
//   to_params: mw must be a number above 0, not 0.0
std::string RefusalMessage(const FieldRefusal& refusal, std::string_view name,
                           std::string_view value);

// What a field holds, as the Python package and the browser's API give it back: nothing, a
// number, a name or a switch.
using FieldValue = std::variant<std::monostate, double, std::string, bool>;

// Whether a number is checked as its dialog checks a typed value, or taken as stored (as
// the saved selections are).
enum class NumberCheck { AsTyped, AsSaved };

// One field of the request and how every front end names it. To add a field (or an option
// of the command, or a keyword of the Python package that sets one), add a row to the table
// in conversion_request.cpp with its functions.
struct RequestField {
  std::string_view Option;   // the command's option, "--from-mw"; empty: none
  std::string_view Keyword;  // the Python (and JavaScript) keyword, "from_params"; empty: none
  std::string_view Key;      // the key within the keyword's mapping, "mw"; empty: the keyword
  bool TakesValue = true;    // false for a switch such as --raw
  // The field from a text, as the command reads its option's value; nothing, or why not.
  std::optional<FieldRefusal> (*SetText)(ConversionRequest& request, std::string_view text);
  // The field from a number (the Python package, the browser); null where it takes a name.
  std::optional<FieldRefusal> (*SetNumber)(ConversionRequest& request, double value,
                                           NumberCheck check);
  FieldValue (*Get)(const ConversionRequest& request);
};

std::span<const RequestField> RequestFields();

// The row of an option or keyword (with its key), or null.
const RequestField* FieldByOption(std::string_view option);
const RequestField* FieldByKeyword(std::string_view keyword, std::string_view key = {});

// A field given without the field it needs, as their rows: the compute-at pressure's
// uncertainty needs a compute-at pressure (computing at the measured pressure, the two are one
// quantity, whose uncertainty is the measured pressure's).
struct UnmetNeed {
  const RequestField* Given;
  const RequestField* Needed;
};
std::optional<UnmetNeed> UnmetNeedOf(const ConversionRequest& request);

// Its message, in the same words on every front end, with the names as that front end
// writes them: "--compute-at-uncertainty needs --compute-at".
std::string NeedsMessage(std::string_view given, std::string_view needed);

}  // namespace tavimor
