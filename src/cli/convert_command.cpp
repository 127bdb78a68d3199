#include "cli/convert_command.h"

#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/accuracy_report.h"
#include "cli/block_runner.h"
#include "cli/descriptor_output.h"
#include "cli/line_reader.h"
#include "cli/progress.h"
#include "cli/table_convert.h"
#include "cli/table_reader.h"
#include "core/conversion_steps.h"
#include "core/unit_tables.h"
#include "core/version.h"
#include "request/prepared_conversion.h"

namespace tavimor {

namespace {

// One value a line, as typed into the panel's From field, into the To unit.
class LineConverter : public RecordConverter {
 public:
  explicit LineConverter(const ConversionRequest& request) : m_conversion(request) {}

  void convert(const Record& record, std::ostream& out, std::ostream& err) override {
    if (const auto reason = m_conversion.convert(record.Text)) {
      out << kErrorLine << '\n';
      err << "line " << record.LineNumber << ": " << *reason << '\n';
      m_anyFailed = true;
      return;
    }
    m_line.clear();
    m_conversion.appendLine(m_line);
    m_line.push_back('\n');
    WriteRecordText(out, m_line);
  }

  bool anyFailed() const override { return m_anyFailed; }

 private:
  PreparedConversion m_conversion;
  std::string m_line;
  bool m_anyFailed = false;
};

void WarnAboutPressure(std::string_view which, const PressureSetting& pressure, std::ostream& err) {
  if (!steps::IsUsablePressure(ReadPressureMbar(pressure.Value, pressure.Unit))) {
    err << kProgram << ": warning: the " << which
        << " pressure is not a finite number above 0 mbar; conversions at it give \"out of "
           "range\"\n";
  }
}

// Opens a file to convert; its size when it is a regular file, else 0.
bool OpenInput(const std::string& name, std::filebuf& file, uint64_t& bytes) {
  const std::filesystem::path path(name);
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec) ||
      !file.open(path, std::ios::in | std::ios::binary)) {
    return false;
  }
  bytes = std::filesystem::is_regular_file(path, ec) ? std::filesystem::file_size(path, ec) : 0;
  if (ec) bytes = 0;
  return true;
}

// Converts the lines, or the table, of input in blocks.
BlockRun ConvertStream(const ConvertSettings& settings, LineConverter& converter,
                       std::streambuf* input, uint64_t inputBytes, std::ostream& out,
                       std::ostream& err, bool errIsTerminal) {
  std::unique_ptr<RecordReader> reader;
  if (settings.Table.Delimiter) {
    reader = std::make_unique<TableReader>(input, *settings.Table.Delimiter, out);
  } else {
    reader = std::make_unique<LineReader>(input, out);
  }
  BlockHooks hooks;
  std::optional<ProgressLine> progress;
  if (settings.Progress && errIsTerminal) {
    progress.emplace(err, inputBytes);
    hooks.AfterBlock = [&](uint64_t records) { progress->update(reader->bytesRead(), records); };
  }
  std::ostream& messages = progress ? progress->messages() : err;
  BlockRun run;
  if (settings.Table.Delimiter) {
    run = ConvertTable(settings, *reader, out, messages, hooks.AfterBlock);
  } else {
    run = ConvertRecordsInBlocks(
        *reader, settings.Threads, converter,
        [&settings] { return std::make_unique<LineConverter>(settings); }, out, messages, hooks);
  }
  if (progress) progress->clear();
  return run;
}

// The results written so far could not all be written: says why, and the exit code.
int WriteFailed(std::ostream& out, std::ostream& err) {
  const auto* descriptor = dynamic_cast<const DescriptorOutput*>(out.rdbuf());
  const std::string reason = descriptor != nullptr && !descriptor->failure().empty()
                                 ? descriptor->failure()
                                 : std::string("the output refused them");
  err << kProgram << ": cannot write the results: " << reason << '\n';
  return kExitWriteFailed;
}

// Text that the command only prints: a failed write is its only failure.
int PrintOnly(std::string_view text, std::ostream& out, std::ostream& err) {
  out << text;
  out.flush();
  return out ? kExitOk : WriteFailed(out, err);
}

}  // namespace

int RunConvert(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
               std::ostream& err, bool errIsTerminal) {
  const CommandLineParse parse = SplitCommandLine(args);
  if (parse.Error) {
    err << kProgram << ": " << *parse.Error << '\n' << ConvertUsageHint();
    return kExitUsage;
  }
  if (parse.Line.Help) return PrintOnly(ConvertUsage(), out, err);
  if (parse.Line.Version) {
    return PrintOnly(std::string(kProgram) + ' ' + kTavimorVersion + '\n', out, err);
  }
  if (parse.Line.Accuracy) return PrintOnly(FormulaAccuracyTable(), out, err);

  ConvertSettings settings;
  // Saved selections are loaded first, so that every other option overrides them.
  std::vector<std::string_view> replacedKeys;
  if (const auto error = ApplySavedSelectionsOption(parse.Line, settings, replacedKeys)) {
    err << kProgram << ": " << *error << '\n';
    return kExitUsage;
  }
  for (const std::string_view key : replacedKeys) {
    err << kProgram << ": warning: " << RefusedSavedValueMessage(key) << '\n';
  }
  if (const auto error = ApplyOptions(parse.Line, settings)) {
    err << kProgram << ": " << *error << '\n' << ConvertUsageHint();
    return kExitUsage;
  }
  // A pressure that a column gives each row is not the one of the option.
  if (!settings.Table.MeasuredColumn) WarnAboutPressure("measured", settings.Measured, err);
  if (settings.ComputeAt && !settings.Table.ComputeAtColumn) {
    WarnAboutPressure("compute-at", *settings.ComputeAt, err);
  }

  LineConverter converter(settings);
  bool anyFailed = false;
  if (!parse.Line.Values.empty()) {
    std::size_t number = 0;
    for (std::string_view value : parse.Line.Values) {
      converter.convert(Record{value, ++number}, out, err);
      if (!out) return WriteFailed(out, err);
    }
    anyFailed = converter.anyFailed();
  } else {
    std::filebuf file;
    std::streambuf* input = in.rdbuf();
    uint64_t inputBytes = 0;
    if (settings.InputFile) {
      if (!OpenInput(*settings.InputFile, file, inputBytes)) {
        err << kProgram << ": cannot read the input " << Quoted(*settings.InputFile) << '\n';
        return kExitUsage;
      }
      input = &file;
    }
    const BlockRun run =
        ConvertStream(settings, converter, input, inputBytes, out, err, errIsTerminal);
    if (run == BlockRun::Refused) return kExitUsage;
    if (run == BlockRun::WriteFailed) return WriteFailed(out, err);
    anyFailed = run == BlockRun::SomeFailed;
  }
  out.flush();
  if (!out) return WriteFailed(out, err);
  return anyFailed ? kExitBadValue : kExitOk;
}

}  // namespace tavimor
