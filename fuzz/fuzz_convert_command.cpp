// tavimor-convert in-process on arbitrary arguments and standard input: exit code 0, 1 or 2;
// one output line per value or input line (LF, CR LF and a lone CR each end one); every line
// "error", "out of range", "n/a" or a number (never "nan" or "inf"), or with uncertainties
// "interval reaches out of range" in its last cell; messages bounded whatever the input; exit
// code 1 exactly when a value or row (a bad pressure cell too) gave "error". With a table
// (--csv, --tsv, --delimiter): one output row per input row, each the input row with new
// cells before its line end (unless --replace), a blank line as it was.
// Run again into an output that fails halfway: exit code 3, the reason on standard error,
// and what was written is the start of the full output.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/accuracy_report.h"
#include "cli/convert_command.h"
#include "core/version.h"
#include "fuzz_check.h"
#include "request/prepared_conversion.h"

namespace {

using namespace tavimor;

constexpr std::size_t kMaxArgs = 12;
constexpr std::size_t kMaxMessageLine = 300;

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(separator, pos);
    if (end == std::string_view::npos) end = text.size();
    parts.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

struct Run {
  int Code = 0;
  std::string Out;
  std::string Err;
  bool operator==(const Run&) const = default;
};

Run Convert(const std::vector<std::string_view>& args, const std::string& input) {
  std::istringstream stdIn(input);
  std::ostringstream stdOut;
  std::ostringstream stdErr;
  Run run;
  run.Code = RunConvert(args, stdIn, stdOut, stdErr);
  run.Out = stdOut.str();
  run.Err = stdErr.str();
  return run;
}

// Output that takes the first Limit bytes and fails every write after them, like a disk
// that becomes full.
class FillingOutput : public std::streambuf {
 public:
  explicit FillingOutput(std::size_t limit) : m_limit(limit) {}
  std::string Taken;

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    const std::size_t room = m_limit - Taken.size();
    const std::size_t take = std::min(room, static_cast<std::size_t>(n));
    Taken.append(s, take);
    return static_cast<std::streamsize>(take);
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (Taken.size() == m_limit) return traits_type::eof();
    Taken.push_back(traits_type::to_char_type(c));
    return c;
  }

 private:
  std::size_t m_limit;
};

void CheckWriteFailure(const std::vector<std::string_view>& args, const std::string& input,
                       const Run& run) {
  FillingOutput filling(run.Out.size() / 2);
  std::istringstream stdIn(input);
  std::ostream stdOut(&filling);
  std::ostringstream stdErr;
  const int code = RunConvert(args, stdIn, stdOut, stdErr);
  FUZZ_CHECK(code == kExitWriteFailed, "exit %d after a failed write", code);
  FUZZ_CHECK(stdErr.str().find("cannot write the results: ") != std::string::npos,
             "a failed write without its message");
  FUZZ_CHECK(filling.Taken == run.Out.substr(0, filling.Taken.size()),
             "the output before the failed write is not the start of the full output");
}

// Lines as the line reader counts them: LF, CR LF and a lone CR each end one, and text after
// the last line end is one more.
std::size_t CountLines(std::string_view text) {
  std::size_t lines = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++lines;
    }
  }
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') ++lines;
  return lines;
}

// A table's rows by the rule the command documents, written apart from its reader: a line
// end outside quotes (LF, CR LF or a lone CR) ends a row; a quote opens quotes at the start of
// a cell, or right after a closing quote (a doubled quote), and nowhere else.
struct Row {
  std::string_view Content;
  std::string_view LineEnd;
};

std::vector<Row> Rows(std::string_view text, char delimiter) {
  std::vector<Row> rows;
  std::size_t start = 0;
  bool quoted = false;
  bool cellStart = true;
  bool justClosed = false;
  // A byte-order mark at the start is in no cell.
  const std::size_t first = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  for (std::size_t i = first; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
        justClosed = true;
      }
      continue;
    }
    if (c == '"' && (cellStart || justClosed)) {
      quoted = true;
      cellStart = justClosed = false;
      continue;
    }
    justClosed = false;
    cellStart = c == delimiter;
    if (c == '\n' || c == '\r') {
      const std::size_t end = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
      rows.push_back({text.substr(start, i - start), text.substr(i, end)});
      i += end - 1;
      start = i + 1;
      cellStart = true;
    }
  }
  if (start < text.size()) rows.push_back({text.substr(start), {}});
  return rows;
}

void CheckTable(const std::string& input, const std::string& out, char delimiter, bool replace) {
  const std::vector<Row> in = Rows(input, delimiter);
  const std::vector<Row> got = Rows(out, delimiter);
  FUZZ_CHECK(got.size() == in.size(), "%zu output rows for %zu input rows", got.size(), in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    FUZZ_CHECK(got[i].LineEnd == in[i].LineEnd, "row %zu: another line end", i + 1);
    const bool blank = in[i].Content.empty() || (i == 0 && in[i].Content == "\xEF\xBB\xBF");
    if (blank) {
      FUZZ_CHECK(got[i].Content == in[i].Content, "blank row %zu changed", i + 1);
    } else if (!replace) {
      FUZZ_CHECK(got[i].Content.starts_with(in[i].Content) &&
                     got[i].Content.size() > in[i].Content.size() &&
                     got[i].Content[in[i].Content.size()] == delimiter,
                 "row %zu is not the input row and new cells", i + 1);
    }
  }
}

// Standard input converted on several threads gives exactly what one thread gives. An
// option given later wins, so the thread counts go first and a --threads of the input
// overrides them; the run is then compared with itself, which costs nothing.
void CheckSameOnAnyThreads(const std::vector<std::string_view>& args, const std::string& input,
                           const Run& run) {
  for (std::string_view threads : {"1", "3"}) {
    std::vector<std::string_view> withThreads = {"--threads", threads};
    withThreads.insert(withThreads.end(), args.begin(), args.end());
    FUZZ_CHECK(Convert(withThreads, input) == run, "--threads %.*s changed the output",
               int(threads.size()), threads.data());
  }
}

bool IsNumberText(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789.-+e") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<std::string> storage;
  const std::size_t argCount = in.ConsumeIntegralInRange<std::size_t>(0, kMaxArgs);
  for (std::size_t i = 0; i < argCount; ++i) storage.push_back(in.ConsumeRandomLengthString(40));
  const std::string input = in.ConsumeRemainingBytesAsString();
  const std::vector<std::string_view> args(storage.begin(), storage.end());
  // A file named by --input could be endless (/dev/zero); standard input is the input here.
  for (std::string_view arg : args) {
    if (arg.starts_with("--input")) return 0;
  }

  const Run run = Convert(args, input);
  const int code = run.Code;
  const std::string& out = run.Out;
  const std::string& err = run.Err;

  FUZZ_CHECK(code == kExitOk || code == kExitBadValue || code == kExitUsage, "exit %d", code);
  bool anyReason = false;
  for (std::string_view line : Split(err, '\n')) {
    FUZZ_CHECK(line.size() <= kMaxMessageLine, "message of %zu characters", line.size());
    anyReason = anyReason || line.starts_with("line ");
  }
  if (code != kExitUsage) {
    FUZZ_CHECK(anyReason == (code == kExitBadValue), "exit %d with%s reasons", code,
               anyReason ? "" : " no");
    if (!out.empty()) CheckWriteFailure(args, input, run);
  }
  const CommandLineParse parse = SplitCommandLine(args);
  if (code == kExitUsage) {
    // Blank lines before a table's first row pass before its columns are judged.
    std::string_view blank = out;
    if (blank.starts_with("\xEF\xBB\xBF")) blank.remove_prefix(3);
    FUZZ_CHECK(std::string_view(input).starts_with(out) &&
                   blank.find_first_not_of("\r\n") == std::string_view::npos,
               "a usage error converted something");
    return 0;
  }
  if (parse.Line.Help) {
    FUZZ_CHECK(out == ConvertUsage(), "help is not the usage text");
    return 0;
  }
  if (parse.Line.Version) {
    FUZZ_CHECK(out == "tavimor-convert " + std::string(kTavimorVersion) + "\n",
               "--version printed [%s]", out.c_str());
    return 0;
  }
  if (parse.Line.Accuracy) {
    FUZZ_CHECK(out == FormulaAccuracyTable(), "--accuracy is not the accuracy table");
    return 0;
  }

  ConvertSettings settings;
  if (!ApplyOptions(parse.Line, settings) && settings.Table.Delimiter) {
    CheckTable(input, out, *settings.Table.Delimiter, settings.Table.Replace);
    CheckSameOnAnyThreads(args, input, run);
    return 0;
  }

  std::size_t expected = parse.Line.Values.size();
  if (expected == 0) expected = CountLines(input);
  const std::vector<std::string_view> lines = Split(out, '\n');
  FUZZ_CHECK(out.empty() || out.back() == '\n', "output does not end in a line feed");
  FUZZ_CHECK(lines.size() == expected, "%zu output lines for %zu values", lines.size(), expected);
  bool anyError = false;
  for (std::string_view line : lines) {
    if (line == "error") {
      anyError = true;
      continue;
    }
    // The result, the delta with --increment, then with --spread "min … max" and, with
    // --raw, each combination's result; with uncertainties the ends of the interval (with
    // --raw then the standard uncertainty), or one cell saying they are not known.
    const std::vector<std::string_view> fields = Split(line, '\t');
    const std::size_t numbers = settings.Increment ? 2 : 1;
    const std::size_t spreadFields = settings.Spread ? (settings.Raw ? 13 : 1) : 0;
    std::size_t intervalFields = 0;
    if (PropagatesUncertainty(settings)) {
      intervalFields = fields.back() == kIntervalOutOfRangeText ? 1 : (settings.Raw ? 3 : 2);
    }
    FUZZ_CHECK(fields.size() == numbers + spreadFields + intervalFields, "line [%.*s]",
               int(line.size()), line.data());
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string_view f = fields[i];
      if (intervalFields == 1 && i + 1 == fields.size()) continue;
      if (i >= numbers + spreadFields) {
        FUZZ_CHECK(IsNumberText(f), "interval [%.*s]", int(f.size()), f.data());
        continue;
      }
      if (i == numbers) {
        const std::size_t dots = f.find(" … ");
        FUZZ_CHECK(f == "out of range" ||
                       (dots != std::string_view::npos && IsNumberText(f.substr(0, dots)) &&
                        IsNumberText(f.substr(dots + 5))),
                   "spread [%.*s]", int(f.size()), f.data());
        continue;
      }
      FUZZ_CHECK(f == "out of range" || f == "n/a" || IsNumberText(f), "field [%.*s]",
                 int(f.size()), f.data());
    }
  }
  FUZZ_CHECK(anyError == (code == kExitBadValue), "exit %d with%s error lines", code,
             anyError ? "" : " no");

  if (parse.Line.Values.empty() && expected >= 2) CheckSameOnAnyThreads(args, input, run);
  return 0;
}
