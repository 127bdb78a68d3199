#pragma once

#include <cstddef>
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

  // Decides the header row and the columns from the first records of the input (those of
  // the whole input when inputEnded); false, with the reason on the error stream, when the
  // table has not the columns asked for.
  bool prepare(std::span<const Record> first, bool inputEnded);

  std::unique_ptr<RecordConverter> makeConverter() const;

 private:
  ConvertSettings m_settings;
  std::ostream& m_err;
  TableLayout m_layout;
};

// A cell's text appended to line, quoted when it holds the delimiter, a quote or a line
// break.
void AppendCell(std::string& line, std::string_view text, char delimiter);

}  // namespace tavimor
