// The module's functions for the JavaScript API (tavimor.js): a request, then columns of values
// converted as tavimor-convert and the Python package convert them, the lines the command
// prints, the saved selections of an INI text, and a table streamed through the command's own
// table conversion. Texts cross as UTF-8; columns as arrays the caller allocated in the
// module's memory. Every function that returns a text returns it in one buffer that stays
// valid until the next call.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "cli/convert_command.h"
#include "cli/table_convert.h"
#include "cli/table_reader.h"
#include "core/moisture_conversion.h"
#include "core/moisture_format.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "request/array_conversion.h"
#include "request/choice_names.h"
#include "request/conversion_request.h"
#include "request/prepared_conversion.h"
#include "store/saved_selections.h"
#include "web/engine/json_text.h"
#include "web/engine/web_request.h"

namespace tavimor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

ConvertSettings& CurrentRequest() {
  static ConvertSettings request;
  return request;
}

// Texts separated by zero bytes.
std::vector<std::string_view> SplitAtZeros(const char* bytes, int length) {
  std::vector<std::string_view> parts;
  std::string_view rest(bytes, static_cast<std::size_t>(std::max(length, 0)));
  while (!rest.empty()) {
    const std::size_t zero = rest.find('\0');
    parts.push_back(rest.substr(0, zero));
    if (zero == std::string_view::npos) break;
    rest.remove_prefix(zero + 1);
  }
  return parts;
}

// The input of a table, read in pieces from JavaScript (a File in a Worker) as the reader
// asks for them.
class JsInputBuffer : public std::streambuf {
 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    const int got = EM_ASM_INT({ return Module["tableRead"]($0, $1); }, m_buffer.data(),
                               static_cast<int>(m_buffer.size()));
    if (got <= 0) return traits_type::eof();
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + got);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::vector<char> m_buffer = std::vector<char>(std::size_t{1} << 20);
};

// Bytes already in memory, as an input.
class BytesInput : public std::streambuf {
 public:
  explicit BytesInput(std::string_view bytes) {
    char* begin = const_cast<char*>(bytes.data());  // only read
    setg(begin, begin, begin + bytes.size());
  }
};

// Output handed to JavaScript in pieces: the converted table, or the messages about its rows.
class JsOutputBuffer : public std::streambuf {
 public:
  explicit JsOutputBuffer(int stream) : m_stream(stream) { reset(); }
  ~JsOutputBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    sync();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override {
    const auto n = static_cast<int>(pptr() - pbase());
    if (n > 0) EM_ASM({ Module["tableWrite"]($0, $1, $2); }, m_stream, pbase(), n);
    reset();
    return 0;
  }

 private:
  void reset() { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }

  int m_stream;
  std::vector<char> m_buffer = std::vector<char>(std::size_t{1} << 20);
};

}  // namespace
}  // namespace tavimor

using namespace tavimor;

extern "C" {

// The fields of the next conversions, "name\0text\0name\0text...", each text led by "n" for
// a number or "t" for a text (WebRequestField); "" or why not.
EMSCRIPTEN_KEEPALIVE const char* tv_request(const char* bytes, int length) {
  const std::vector<std::string_view> parts = SplitAtZeros(bytes, length);
  std::vector<WebRequestField> fields;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    const std::string_view text = parts[i + 1];
    fields.push_back(
        {parts[i], text.starts_with('n'), text.substr(std::min<std::size_t>(1, text.size()))});
  }
  ConvertSettings request;
  if (auto error = ApplyRequestFields(fields, request)) return ReturnText(std::move(*error));
  CurrentRequest() = std::move(request);
  return ReturnText({});
}

// Converts n values: the held results (or with shown the numbers the result field shows),
// NaN where there is none; deltas when the request has an increment (delta may be null);
// status 1 where the value lies outside the From unit's range, as the Python package has it.
EMSCRIPTEN_KEEPALIVE void tv_convert(const double* in, int n, double* result, double* delta,
                                     uint8_t* status, int shown) {
  const ConvertSettings& request = CurrentRequest();
  const MoistureConversion conversion(InputsOf(request), request.Calc);
  for (int i = 0; i < n; ++i) {
    const ConvertedNumber c = ConvertNumber(conversion, request.FromUnit, in[i], shown != 0);
    result[i] = c.Result;
    if (delta != nullptr) delta[i] = c.Delta;
    status[i] = c.Outside ? 1 : 0;
  }
}

// The spread over the 12 formula and enhancement choices: results n x 12 in the order of
// COMBINATIONS, the smallest and largest and the combination giving each (-1: none).
EMSCRIPTEN_KEEPALIVE void tv_spread(const double* in, int n, double* results, double* low,
                                    double* high, int32_t* lowAt, int32_t* highAt, uint8_t* status,
                                    int shown) {
  const ConvertSettings& request = CurrentRequest();
  SpreadRows(in, 0, static_cast<std::size_t>(std::max(n, 0)), InputsOf(request), request.Calc,
             request.ToUnit, shown != 0,
             SpreadColumns<int32_t>{results, low, high, lowAt, highAt, status});
}

// Why the From unit of the request refuses a value (its range), or "" where it accepts it.
EMSCRIPTEN_KEEPALIVE const char* tv_range_message(double value) {
  const auto message = FromValueRangeMessage(CurrentRequest().FromUnit, HoldSingle(value));
  return ReturnText(message ? std::string(*message) : std::string());
}

// n texts ("\0"-separated) read the way the command reads a value: the numbers, and a flag
// for each text without one.
EMSCRIPTEN_KEEPALIVE void tv_read_values(const char* bytes, int length, int n, double* values,
                                         uint8_t* notNumber) {
  const std::vector<std::string_view> texts = SplitAtZeros(bytes, length);
  for (int i = 0; i < n; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const auto number = index < texts.size() ? ReadNumberIfAny(texts[index]) : std::nullopt;
    values[i] = number.value_or(kNaN);
    notNumber[i] = number ? 0 : 1;
  }
}

// The lines tavimor-convert prints for the values (without line ends), "\n"-separated:
// the result (raw: all digits), with an increment a tab and the delta, or "error" for a value
// without a number or outside the From unit's range.
EMSCRIPTEN_KEEPALIVE const char* tv_lines(const double* in, const uint8_t* notNumber, int n) {
  PreparedConversion conversion(CurrentRequest());
  std::string out;
  for (int i = 0; i < n; ++i) {
    if (i > 0) out.push_back('\n');
    if ((notNumber != nullptr && notNumber[i]) || conversion.convert(HoldSingle(in[i]))) {
      out += kErrorLine;
    } else {
      conversion.appendLine(out);
    }
  }
  return ReturnText(std::move(out));
}

// The texts the result field shows for values in a unit, "\n"-separated; null for an unknown
// unit.
EMSCRIPTEN_KEEPALIVE const char* tv_format(const double* in, int n, const char* unitName) {
  const auto index = ParseMoistureUnit(unitName);
  if (!index) return nullptr;
  const MoistureUnit unit = *MoistureUnitFromIndex(*index);
  std::string out;
  for (int i = 0; i < n; ++i) {
    if (i > 0) out.push_back('\n');
    const float value = HoldSingle(in[i]);
    out += std::isfinite(value) ? FormatMoistureValue(unit, value) : std::string(kOutOfRangeText);
  }
  return ReturnText(std::move(out));
}

// The saved selections of an INI text (section Tavimor) as the API's options, read by the
// program's own parser: what settingsFromIni returns.
EMSCRIPTEN_KEEPALIVE const char* tv_read_ini(const char* bytes, int length) {
  ConversionRequest request;
  ApplySavedSelections(
      ProfileReaderForText(std::string(bytes, static_cast<std::size_t>(std::max(length, 0)))),
      request);
  return ReturnText(RequestOptionsJson(request));
}

// The names the API takes, as JSON (RequestNamesJson).
EMSCRIPTEN_KEEPALIVE const char* tv_names() {
  return ReturnText(RequestNamesJson());
}

// The first rows of a table as JSON, each an array of its cells' texts, as the command reads
// the rows: what the page shows to choose the columns. whole: the bytes are the whole table,
// so that its last row counts without a line end.
EMSCRIPTEN_KEEPALIVE const char* tv_table_peek(const char* bytes, int length, int whole,
                                               int delimiter, int maxRows) {
  BytesInput input(std::string_view(bytes, static_cast<std::size_t>(std::max(length, 0))));
  std::ostringstream none;
  TableReader reader(&input, static_cast<char>(delimiter), none);
  std::string row;
  std::size_t line = 0;
  RowCells cells;
  std::string text;
  std::string out = "[";
  for (int rows = 0; rows < maxRows;) {
    row.clear();
    if (reader.next(row, line) != RecordReader::Read::Whole) break;
    SplitRow(row, static_cast<char>(delimiter), line == 1, cells);
    // A row cut by the end of the bytes is left out.
    if (!whole && (cells.QuoteOpen || cells.ContentEnd == row.size())) break;
    if (IsBlankRow(cells)) continue;
    out.append(rows == 0 ? "[" : ",[");
    for (std::size_t c = 0; c < cells.Cells.size(); ++c) {
      CellText(std::string_view(row).substr(cells.Cells[c].Begin,
                                            cells.Cells[c].End - cells.Cells[c].Begin),
               text);
      if (c > 0) out.push_back(',');
      AppendJsonString(out, text);
    }
    out.push_back(']');
    ++rows;
  }
  out.push_back(']');
  return ReturnText(std::move(out));
}

// Converts the table the request describes, read through Module.tableRead and written through
// Module.tableWrite (stream 1 the table, 2 the messages), exactly as tavimor-convert --csv
// converts it; Module.tableProgress(rows) after each block. Returns the command's exit code:
// 0 all converted, 1 some rows gave "error", 2 the table has not the columns asked for, 3 the
// output refused the results.
EMSCRIPTEN_KEEPALIVE int tv_table_run() {
  ConvertSettings settings = CurrentRequest();
  settings.Threads = 1;
  if (!settings.Table.Delimiter || !settings.Table.Column) return kExitUsage;
  JsInputBuffer input;
  JsOutputBuffer outBuffer(1);
  JsOutputBuffer errBuffer(2);
  std::ostream out(&outBuffer);
  std::ostream err(&errBuffer);
  TableReader reader(&input, *settings.Table.Delimiter, out);
  const BlockRun run = ConvertTable(settings, reader, out, err, [](uint64_t rows) {
    EM_ASM({ Module["tableProgress"]($0); }, static_cast<double>(rows));
  });
  out.flush();
  err.flush();
  switch (run) {
    case BlockRun::AllConverted:
      return kExitOk;
    case BlockRun::SomeFailed:
      return kExitBadValue;
    case BlockRun::Refused:
      return kExitUsage;
    case BlockRun::WriteFailed:
      break;
  }
  return kExitWriteFailed;
}

}  // extern "C"
