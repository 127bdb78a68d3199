#include "cli/convert_command.h"

#include <cmath>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "cli/block_runner.h"
#include "cli/line_reader.h"
#include "core/dew_point.h"
#include "core/formula_accuracy.h"
#include "core/formula_spread.h"
#include "core/moisture_conversion.h"
#include "core/moisture_format.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "core/version.h"

namespace tavimor {

namespace {

constexpr std::string_view kProgram = "tavimor-convert";

// One value at a time, as typed into the panel's From field, into the To unit.
class ValueConverter : public LineConverter {
 public:
  explicit ValueConverter(const ConvertSettings& settings) : m_settings(settings) {
    const PressureSetting compute = settings.ComputeAt.value_or(settings.Measured);
    m_inputs.Increment = settings.Increment.value_or(0.0f);
    m_inputs.FromUnit = settings.FromUnit;
    m_inputs.FromListSelection = settings.FromUnit;
    m_inputs.ToListSelection = settings.ToUnit;
    m_inputs.MeasuredPressure = settings.Measured.Value;
    m_inputs.MeasuredPressureUnit = settings.Measured.Unit;
    m_inputs.ComputePressure = compute.Value;
    m_inputs.ComputePressureUnit = compute.Unit;
  }

  void convert(std::string_view text, std::size_t lineNumber, std::ostream& out,
               std::ostream& err) override {
    if (!ReadsAsNumber(text)) {
      fail(lineNumber, "not a number", out, err);
      return;
    }
    const float value = HoldSingle(ReadNumber(text));
    if (const auto message = FromValueRangeMessage(m_settings.FromUnit, value)) {
      fail(lineNumber, *message, out, err);
      return;
    }
    m_inputs.FromValue = value;
    const MoistureResults results = ComputeMoistureResults(m_inputs, m_settings.Calc);
    out << ConvertedLine(results, m_settings.Raw, m_settings.Increment.has_value());
    if (m_settings.Spread) {
      out << '\t';
      writeSpread(ComputeMoistureSpread(m_inputs, m_settings.Calc), out);
    }
    out << '\n';
  }

  bool anyFailed() const override { return m_anyFailed; }

 private:
  // "min … max" in the To unit's format, or "out of range" when no combination answers;
  // with --raw then each combination's result in the order of kPhysicsCombinations.
  void writeSpread(const MoistureSpread& spread, std::ostream& out) const {
    const auto toUnit = MoistureUnitFromIndex(m_settings.ToUnit);
    const auto write = [&](float value) {
      const bool valid = toUnit && value != static_cast<float>(OutOfRange);
      if (m_settings.Raw && valid) {
        out << FormatAllDigits(value);
      } else {
        out << (valid ? FormatMoistureValue(*toUnit, value) : std::string(kOutOfRangeText));
      }
    };
    if (spread.Valid) {
      write(spread.Min);
      out << " … ";
      write(spread.Max);
    } else {
      out << kOutOfRangeText;
    }
    if (!m_settings.Raw) return;
    for (float result : spread.Results) {
      out << '\t';
      write(result);
    }
  }

  void fail(std::size_t lineNumber, std::string_view reason, std::ostream& out, std::ostream& err) {
    out << kErrorLine << '\n';
    err << "line " << lineNumber << ": " << reason << '\n';
    m_anyFailed = true;
  }

  const ConvertSettings& m_settings;
  MoistureInputs m_inputs;
  bool m_anyFailed = false;
};

void WarnAboutPressure(std::string_view which, const PressureSetting& pressure, std::ostream& err) {
  const float mbar = ReadPressureMbar(pressure.Value, pressure.Unit);
  if (!(mbar > 0) || !std::isfinite(mbar)) {
    err << kProgram << ": warning: the " << which
        << " pressure is not a finite number above 0 mbar; conversions at it give \"out of "
           "range\"\n";
  }
}

}  // namespace

int RunConvert(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  const CommandLineParse parse = SplitCommandLine(args);
  if (parse.Error) {
    err << kProgram << ": " << *parse.Error << '\n' << ConvertUsageHint();
    return kExitUsage;
  }
  if (parse.Line.Help || parse.Line.Version) {
    if (parse.Line.Help) {
      out << ConvertUsage();
    } else {
      out << kProgram << ' ' << kTavimorVersion << '\n';
    }
    out.flush();
    return out ? kExitOk : kExitBadValue;
  }
  if (parse.Line.Accuracy) {
    out << FormulaAccuracyTable() << std::flush;
    return out ? kExitOk : kExitBadValue;
  }

  ConvertSettings settings;
  // Saved selections are loaded first, so that every other option overrides them.
  if (const auto error = ApplySavedSelectionsOption(parse.Line, settings)) {
    err << kProgram << ": " << *error << '\n';
    return kExitUsage;
  }
  if (const auto error = ApplyOptions(parse.Line, settings)) {
    err << kProgram << ": " << *error << '\n' << ConvertUsageHint();
    return kExitUsage;
  }
  WarnAboutPressure("measured", settings.Measured, err);
  if (settings.ComputeAt) WarnAboutPressure("compute-at", *settings.ComputeAt, err);

  ValueConverter converter(settings);
  bool anyFailed = false;
  if (!parse.Line.Values.empty()) {
    std::size_t number = 0;
    for (std::string_view value : parse.Line.Values) converter.convert(value, ++number, out, err);
    anyFailed = converter.anyFailed();
  } else {
    LineReader reader(in.rdbuf(), out);
    anyFailed = ConvertLinesInBlocks(
        reader, settings.Threads, converter,
        [&settings] { return std::make_unique<ValueConverter>(settings); }, out, err);
  }
  out.flush();
  if (!out) {
    err << kProgram << ": cannot write the results\n";
    return kExitBadValue;
  }
  return anyFailed ? kExitBadValue : kExitOk;
}

}  // namespace tavimor
