#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
  std::optional<std::size_t> UncertaintyColumn;
  std::size_t HeaderLine = 0;  // the header row's line, 0 for none
  std::string ResultHeader;    // the new cells' texts in the header row
  std::string DeltaHeader;
  std::vector<std::string> IntervalHeaders;  // one per cell of the interval; none without
  bool Replace = false;
  bool WithDelta = false;
};

// A column of a table converted row by row: every row is written as it came, with the
// result in a new last cell (or in place of the converted cell) and, with an increment, the
// delta after it, and with uncertainties the ends of the 95 % interval (and with --raw the
// standard uncertainty). A row that cannot be converted gets "error" there and its reason on the
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

// Converts the rows of reader as tavimor-convert converts a table (settings.Table has a
// delimiter and a column) on settings.Threads threads: a plan decides the layout on the
// first rows, and a converter per thread follows it. afterBlock, if any, follows each block
// with the rows converted so far. The command and the page in the browser both convert a
// table through this.
BlockRun ConvertTable(const ConvertSettings& settings, RecordReader& reader, std::ostream& out,
                      std::ostream& err, const std::function<void(uint64_t rows)>& afterBlock = {});

// A cell's text appended to line, quoted when it holds the delimiter, a quote or a line
// break.
void AppendCell(std::string& line, std::string_view text, char delimiter);

}  // namespace tavimor
