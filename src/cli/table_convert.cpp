#include "cli/table_convert.h"

#include <algorithm>
#include <type_traits>

#include "cli/table_reader.h"
#include "cli/usage.h"
#include "core/conversion_steps.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "request/choice_names.h"
#include "request/prepared_conversion.h"

namespace tavimor {

void AppendCell(std::string& line, std::string_view text, char delimiter) {
  const char special[] = {delimiter, '"', '\r', '\n'};
  if (text.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
    line.append(text);
    return;
  }
  line.push_back('"');
  for (const char c : text) {
    if (c == '"') line.push_back('"');
    line.push_back(c);
  }
  line.push_back('"');
}

namespace {

std::string ColumnName(std::size_t column, std::string_view role) {
  std::string name = "column " + std::to_string(column + 1);
  if (!role.empty()) name.append(" (").append(role).append(")");
  return name;
}

// Whether the pressure a cell gives in its unit is one a conversion can use, as
// ReadPressureMbar rounds it. Each unit's factor is at most 1, so 1 to 1e30 of any unit is
// at least 1 mbar and well within a float: the rounding is left to the rest.
bool IsUsablePressureCell(float value, int unit) {
  if (value >= 1 && value <= 1e30f) return true;
  return steps::IsUsablePressure(ReadPressureMbar(value, unit));
}

// Why a row too long to hold gets "error": its held start tells whether a quoted cell is
// still open there, the usual cause of a row that long.
std::string TooLongRowReason(const RowCells& heldStart) {
  const std::string limit(TableReader::kMaxRowText);
  if (heldStart.QuoteOpen) {
    return "a quoted cell is still open after " + limit +
           ", the longest row the command holds (is its closing quote missing?)";
  }
  return "a row longer than " + limit + ", the longest row the command holds";
}

class TableRowConverter : public RecordConverter {
 public:
  TableRowConverter(const ConvertSettings& settings, const TableLayout& layout)
      : m_layout(layout),
        m_conversion(settings),
        m_measuredUnit(settings.Measured.Unit),
        m_computeAtUnit(settings.ComputeAt.value_or(settings.Measured).Unit) {}

  void convert(const Record& record, std::ostream& out, std::ostream& err) override {
    const std::string_view row = record.Text;
    SplitRow(row, m_layout.Delimiter, record.LineNumber == 1, m_cells);
    if (record.Cut) {
      // The rest of the row is copied after it, then finishCut ends it.
      out << row;
      fail(record.LineNumber, TooLongRowReason(m_cells), err);
      return;
    }
    if (IsBlankRow(m_cells)) {
      out << row;
      return;
    }
    if (m_cells.QuoteOpen) {
      fail(record.LineNumber, "a quoted cell is not closed", err);
      write(row, NewCells::Error, out);
      return;
    }
    if (record.LineNumber == m_layout.HeaderLine) {
      write(row, NewCells::Header, out);
      return;
    }
    if (const auto reason = convertRow(row)) {
      fail(record.LineNumber, *reason, err);
      write(row, NewCells::Error, out);
      return;
    }
    write(row, NewCells::Converted, out);
  }

  void finishCut(std::string_view lineEnd, std::ostream& out) override {
    m_line.clear();
    const std::size_t cells = 1 + (m_layout.WithDelta ? 1 : 0) + m_layout.IntervalHeaders.size();
    for (std::size_t i = 0; i < cells; ++i) {
      m_line.push_back(m_layout.Delimiter);
      m_line.append(kErrorLine);
    }
    m_line.append(lineEnd);
    out << m_line;
  }

  bool anyFailed() const override { return m_anyFailed; }

 private:
  // The text of a cell into m_text, or why it has none.
  std::optional<std::string> readCell(std::string_view row, std::size_t column,
                                      std::string_view role) {
    if (column >= m_cells.Cells.size()) return "too few cells for " + ColumnName(column, role);
    const RowCells::Span cell = m_cells.Cells[column];
    CellText(row.substr(cell.Begin, cell.End - cell.Begin), m_text);
    if (m_text.empty()) return ColumnName(column, role) + " is empty";
    return std::nullopt;
  }

  // A pressure cell in the given unit; like a bad value, one that no conversion can use is
  // the row's error rather than an "out of range" result.
  std::optional<std::string> readPressure(std::string_view row, std::size_t column,
                                          std::string_view role, int unit, float& value) {
    if (auto reason = readCell(row, column, role)) return reason;
    const auto number = ReadNumberIfAny(m_text);
    if (!number) return ColumnName(column, role) + ": not a number";
    value = HoldSingle(*number);
    if (!IsUsablePressureCell(value, unit)) {
      return ColumnName(column, role) + ": not a pressure above 0 mbar";
    }
    return std::nullopt;
  }

  // The row's uncertainty cell, read as --uncertainty reads its value.
  std::optional<std::string> readUncertainty(std::string_view row) {
    const std::size_t column = *m_layout.UncertaintyColumn;
    if (auto reason = readCell(row, column, "uncertainty")) return reason;
    static const RequestField* const kField = FieldByOption("--uncertainty");
    ConversionRequest read;
    if (const auto refusal = kField->SetText(read, m_text)) {
      return RefusalMessage(*refusal, ColumnName(column, "uncertainty"), Quoted(m_text));
    }
    m_conversion.setFromUncertainty(*read.FromUncertainty);
    return std::nullopt;
  }

  // Converts the row's value at its pressures, or says why it cannot.
  std::optional<std::string> convertRow(std::string_view row) {
    if (auto reason = readCell(row, m_layout.Column, "")) return reason;
    if (const auto refused = m_conversion.read(m_text)) {
      return ColumnName(m_layout.Column, "") + ": " + std::string(*refused);
    }
    float pressure = 0;
    if (m_layout.MeasuredColumn) {
      if (auto reason = readPressure(row, *m_layout.MeasuredColumn, "measured pressure",
                                     m_measuredUnit, pressure)) {
        return reason;
      }
      m_conversion.setMeasuredPressure(pressure);
    }
    if (m_layout.ComputeAtColumn) {
      if (auto reason = readPressure(row, *m_layout.ComputeAtColumn, "compute-at pressure",
                                     m_computeAtUnit, pressure)) {
        return reason;
      }
      m_conversion.setComputePressure(pressure);
    }
    if (m_layout.UncertaintyColumn) {
      if (auto reason = readUncertainty(row)) return reason;
    }
    m_conversion.compute();
    return std::nullopt;
  }

  enum class NewCells { Header, Error, Converted };

  // A new cell's text: the header's, "error", or the row's result, delta or interval cell.
  void appendNewCell(NewCells kind, std::size_t cell, std::string& text) const {
    text.clear();
    if (kind == NewCells::Error) {
      text = kErrorLine;
    } else if (cell == 0) {
      if (kind == NewCells::Header) {
        text = m_layout.ResultHeader;
      } else {
        m_conversion.appendResult(text);
      }
    } else if (m_layout.WithDelta && cell == 1) {
      if (kind == NewCells::Header) {
        text = m_layout.DeltaHeader;
      } else {
        m_conversion.appendDelta(text);
      }
    } else {
      const std::size_t interval = cell - 1 - (m_layout.WithDelta ? 1 : 0);
      if (kind == NewCells::Header) {
        text = m_layout.IntervalHeaders[interval];
      } else {
        m_conversion.appendIntervalCell(interval, text);
      }
    }
  }

  // The row as it came with the new cells: appended before its line end, or the result in
  // place of the converted cell (which a short row gets, after empty cells).
  void write(std::string_view row, NewCells kind, std::ostream& out) {
    const char delimiter = m_layout.Delimiter;
    const std::size_t end = m_cells.ContentEnd;
    const std::size_t column = m_layout.Column;
    m_line.clear();
    appendNewCell(kind, 0, m_text);
    if (!m_layout.Replace) {
      m_line.append(row.substr(0, end));
      m_line.push_back(delimiter);
      AppendCell(m_line, m_text, delimiter);
    } else if (column < m_cells.Cells.size()) {
      const RowCells::Span cell = m_cells.Cells[column];
      m_line.append(row.substr(0, cell.Begin));
      AppendCell(m_line, m_text, delimiter);
      m_line.append(row.substr(cell.End, end - cell.End));
    } else {
      m_line.append(row.substr(0, end));
      m_line.append(column + 1 - m_cells.Cells.size(), delimiter);
      AppendCell(m_line, m_text, delimiter);
    }
    const std::size_t cells = 1 + (m_layout.WithDelta ? 1 : 0) + m_layout.IntervalHeaders.size();
    for (std::size_t cell = 1; cell < cells; ++cell) {
      appendNewCell(kind, cell, m_text);
      m_line.push_back(delimiter);
      AppendCell(m_line, m_text, delimiter);
    }
    m_line.append(row.substr(end));
    out << m_line;
  }

  void fail(std::size_t lineNumber, std::string_view reason, std::ostream& err) {
    err << "line " << lineNumber << ": " << reason << '\n';
    m_anyFailed = true;
  }

  const TableLayout& m_layout;
  PreparedConversion m_conversion;
  int m_measuredUnit;
  int m_computeAtUnit;
  RowCells m_cells;
  std::string m_text;
  std::string m_line;
  bool m_anyFailed = false;
};

// Space and tab around a header's name do not count, nor ASCII case, unless a name matches
// exactly.
std::string_view Trimmed(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

}  // namespace

TablePlan::TablePlan(const ConvertSettings& settings, std::ostream& err)
    : m_settings(settings), m_err(err) {
  const TableSettings& table = settings.Table;
  // A compute-at column is read in the unit of --compute-at, in millibar without it.
  if (table.ComputeAtColumn && !m_settings.ComputeAt) m_settings.ComputeAt = PressureSetting{};
  m_layout.Delimiter = table.Delimiter.value_or(',');
  m_layout.Replace = table.Replace;
  m_layout.WithDelta = settings.Increment.has_value();
  m_layout.ResultHeader = table.OutputHeader.value_or(
      std::string(kMoistureUnits[static_cast<std::size_t>(settings.ToUnit)].ResultHeader));
  m_layout.DeltaHeader = "delta " + m_layout.ResultHeader;
  // Each row's uncertainty replaces this one.
  if (table.UncertaintyColumn) m_settings.FromUncertainty = ValueUncertainty{};
  if (PropagatesUncertainty(m_settings)) {
    m_layout.IntervalHeaders = {"low 95 % " + m_layout.ResultHeader,
                                "high 95 % " + m_layout.ResultHeader};
    if (settings.Raw) m_layout.IntervalHeaders.push_back("u " + m_layout.ResultHeader);
  }
}

bool TablePlan::prepare(std::span<const Record> records) {
  if (m_decided) return true;
  const TableSettings& table = m_settings.Table;
  const char delimiter = m_layout.Delimiter;
  RowCells firstCells;
  const Record* firstRow = nullptr;
  for (const Record& record : records) {
    SplitRow(record.Text, delimiter, record.LineNumber == 1, firstCells);
    if (!IsBlankRow(firstCells)) {
      firstRow = &record;
      break;
    }
  }
  if (firstRow == nullptr) return true;  // blank lines so far: they pass as they are
  m_decided = true;

  const auto cellText = [&](std::size_t column) {
    std::string text;
    if (column < firstCells.Cells.size()) {
      const RowCells::Span cell = firstCells.Cells[column];
      CellText(firstRow->Text.substr(cell.Begin, cell.End - cell.Begin), text);
    }
    return text;
  };
  const std::optional<ColumnChoice> columns[] = {table.Column, table.MeasuredColumn,
                                                 table.ComputeAtColumn, table.UncertaintyColumn};
  constexpr std::size_t kColumns = std::extent_v<decltype(columns)>;
  const bool byName = std::any_of(std::begin(columns), std::end(columns),
                                  [](const auto& c) { return c && c->Number == 0; });
  bool header = false;
  switch (table.Header.value_or(HeaderChoice::Auto)) {
    case HeaderChoice::Yes:
      header = true;
      break;
    case HeaderChoice::No:
      if (byName) {
        m_err << kProgram << ": a column chosen by name needs the header row (--header yes)\n";
        return false;
      }
      break;
    case HeaderChoice::Auto:
      // A header names its columns: the chosen column's cell in it is no number. A row
      // without that cell is no header for it either; it then lacks the column.
      header = byName || (table.Column->Number <= firstCells.Cells.size() &&
                          !ReadsAsNumber(cellText(table.Column->Number - 1)));
      break;
  }
  if (header) m_layout.HeaderLine = firstRow->LineNumber;

  std::optional<std::size_t> resolved[kColumns];
  for (std::size_t k = 0; k < kColumns; ++k) {
    const std::optional<ColumnChoice>& choice = columns[k];
    if (!choice) continue;
    if (choice->Number != 0) {
      resolved[k] = choice->Number - 1;
    } else if (!resolveName(choice->Name, firstCells.Cells.size(), cellText, resolved[k])) {
      return false;
    }
    // The header row, or the first row, decides which columns the table has.
    if (*resolved[k] >= firstCells.Cells.size()) {
      m_err << kProgram << ": ";
      if (firstRow->Cut) {
        m_err << "column " << *resolved[k] + 1 << " does not begin within the first "
              << TableReader::kMaxRowText << " of the " << (header ? "header" : "first")
              << " row, the longest row the command holds\n";
      } else {
        m_err << "the " << (header ? "header" : "first") << " row (line " << firstRow->LineNumber
              << ") has no column " << *resolved[k] + 1 << '\n';
      }
      return false;
    }
  }
  m_layout.Column = *resolved[0];
  m_layout.MeasuredColumn = resolved[1];
  m_layout.ComputeAtColumn = resolved[2];
  m_layout.UncertaintyColumn = resolved[3];
  return true;
}

bool TablePlan::resolveName(const std::string& name, std::size_t cellCount,
                            const std::function<std::string(std::size_t)>& cellText,
                            std::optional<std::size_t>& column) {
  // An exact match first, then one ignoring spaces around the name and ASCII case; two
  // columns matching alike leave no choice to make.
  for (int loose = 0; loose < 2; ++loose) {
    std::vector<std::size_t> matches;
    for (std::size_t c = 0; c < cellCount; ++c) {
      const std::string text = cellText(c);
      if (loose ? EqualsIgnoringAsciiCase(Trimmed(text), Trimmed(name)) : text == name) {
        matches.push_back(c);
      }
    }
    if (matches.size() == 1) {
      column = matches[0];
      return true;
    }
    if (matches.size() > 1) {
      m_err << kProgram << ": columns " << matches[0] + 1 << " and " << matches[1] + 1
            << " of the header row are both named " << Quoted(name)
            << "; choose the column by its number\n";
      return false;
    }
  }
  m_err << kProgram << ": no column named " << Quoted(name) << " in the header row\n";
  return false;
}

std::unique_ptr<RecordConverter> TablePlan::makeConverter() const {
  return std::make_unique<TableRowConverter>(m_settings, m_layout);
}

BlockRun ConvertTable(const ConvertSettings& settings, RecordReader& reader, std::ostream& out,
                      std::ostream& err, const std::function<void(uint64_t rows)>& afterBlock) {
  TablePlan table(settings, err);
  BlockHooks hooks;
  hooks.CheckBlock = [&table](std::span<const Record> records) { return table.prepare(records); };
  hooks.AfterBlock = afterBlock;
  const std::unique_ptr<RecordConverter> first = table.makeConverter();
  return ConvertRecordsInBlocks(
      reader, settings.Threads, *first, [&table] { return table.makeConverter(); }, out, err,
      hooks);
}

}  // namespace tavimor
