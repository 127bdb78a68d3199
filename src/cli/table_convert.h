#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/block_runner.h"
#include "cli/convert_options.h"
#include "core/unit_tables.h"

namespace tavimor {

// Where a table's cells are read and its new cells written, decided from its first rows.
struct TableLayout {
  char Delimiter = ',';
  std::size_t Column = 0;  // from 0
  std::optional<std::size_t> MeasuredColumn;
  std::optional<std::size_t> ComputeAtColumn;
  std::size_t HeaderLine = 0;  // the header row's line, 0 for none
  std::string ResultHeader;    // the new cells' texts in the header row
  std::string DeltaHeader;
  bool Replace = false;
  bool WithDelta = false;
};

// A column of a table converted row by row: every row is written as it came, with the
// result in a new last cell (or in place of the converted cell) and, with an increment, the
// delta after it. A row that cannot be converted gets "error" there and its reason on the
// error stream; a blank line is no row and stays as it is. The plan decides the layout from
// the first rows; a row converter per thread follows it.
class TablePlan {
 public:
  // settings.Table has a delimiter and a column.
  TablePlan(const ConvertSettings& settings, std::ostream& err);

  // Sees the records of each block before they are converted. At the first row that is not
  // blank, decides the header row and the columns on that row; false, with the reason on the
  // error stream, when it lacks a column asked for or a name is not one column's. A later
  // row without a column gets "error" when it is converted.
  bool prepare(std::span<const Record> records);

  // A converter that uses the layout as prepare decides it.
  std::unique_ptr<RecordConverter> makeConverter() const;

 private:
  // The one header cell that matches name, or false with the reason on the error stream.
  bool resolveName(const std::string& name, std::size_t cellCount,
                   const std::function<std::string(std::size_t)>& cellText,
                   std::optional<std::size_t>& column);

  ConvertSettings m_settings;
  std::ostream& m_err;
  TableLayout m_layout;
  bool m_decided = false;
};

// A cell's text appended to line, quoted when it holds the delimiter, a quote or a line
// break.
void AppendCell(std::string& line, std::string_view text, char delimiter);

}  // namespace tavimor
