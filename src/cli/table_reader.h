#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "cli/block_runner.h"

namespace tavimor {

// Where a table's rows and cells end (RFC 4180, read leniently). Written here rather than
// taken from libcsv: that parser hands over cell texts, never where rows and cells lie in
// the input, and trims spaces and drops blank lines, so rows could not be written back byte
// for byte. A quote opens a quoted
// cell only at the start of a cell; in it two quotes stand for one, and delimiters and line
// breaks belong to the cell. Bytes after its closing quote continue the cell, and a quote
// elsewhere is an ordinary byte. A row ends with a line end outside quotes (LF, CR LF, or a
// lone CR as old Mac files and spreadsheet programs write it), or at the end of the input.
enum class CellState : uint8_t { Start, Unquoted, Quoted, AfterQuote };

// One comparison for the bytes of text, all above CR.
inline bool IsLineBreak(char c) {
  return static_cast<unsigned char>(c) <= '\r' && (c == '\n' || c == '\r');
}

inline CellState NextCellState(CellState state, char c, char delimiter) {
  switch (state) {
    case CellState::Quoted:
      return c == '"' ? CellState::AfterQuote : CellState::Quoted;
    case CellState::Start:
      if (c == '"') return CellState::Quoted;
      break;
    case CellState::AfterQuote:
      if (c == '"') return CellState::Quoted;  // a doubled quote
      break;
    case CellState::Unquoted:
      break;
  }
  return c == delimiter ? CellState::Start : CellState::Unquoted;
}

// The byte-order mark a table may start with; it belongs to no cell.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One row split into cells, as byte ranges of the row's text.
struct RowCells {
  struct Span {
    std::size_t Begin;
    std::size_t End;
  };
  std::vector<Span> Cells;
  std::size_t ContentEnd = 0;  // where the line end starts
  bool QuoteOpen = false;      // the input ended inside a quoted cell
};

// Splits row (a whole record of TableReader); first says it is the first of the input,
// whose byte-order mark is skipped.
void SplitRow(std::string_view row, char delimiter, bool first, RowCells& cells);

// A row with nothing before its line end: no row of the table, kept as it is.
inline bool IsBlankRow(const RowCells& cells) {
  return cells.Cells.size() == 1 && cells.Cells[0].Begin == cells.ContentEnd && !cells.QuoteOpen;
}

// The text of a cell given its bytes: quotes removed and doubled quotes made single.
void CellText(std::string_view raw, std::string& text);

// The rows of a table, one at a time, each exactly as it came: cells, delimiters, quotes
// and line end. A row longer than maxRowBytes is handed over Cut, its rest left to
// copyRest, so that memory stays bounded whatever the input (an unclosed quote makes the
// rest of the input one row). Lines are counted as an editor shows them: inside quotes too,
// CR LF as one. A CR LF whose LF has not come when its CR arrives, on a live input, is not
// waited for: the LF comes later as a blank record of its own.
class TableReader : public RecordReader {
 public:
  // The longest row held whole; a block of rows holds one such row and a few copies of it
  // (the row written with its new cells), which bounds the memory of a run.
  static constexpr std::size_t kMaxRowBytes = std::size_t{64} << 20;
  static constexpr std::string_view kMaxRowText = "64 MiB";

  // flushBeforeWait is flushed before waiting for input, as LineReader does; when that
  // flush fails, the input ends there.
  TableReader(std::streambuf* input, char delimiter, std::ostream& flushBeforeWait,
              std::size_t maxRowBytes = kMaxRowBytes);

  bool hasBuffered() override;
  Read next(std::string& block, std::size_t& lineNumber) override;
  std::string copyRest(std::ostream& out) override;
  uint64_t bytesRead() const override { return m_fetched - (m_end - m_next); }

 private:
  bool fill();
  // Counts a CR or LF as a line end unless it is the LF of a CR LF.
  void countLine(char c);
  // After a CR that ended a row: takes the LF of a CR LF if it is there or buffered, without
  // waiting for the input; otherwise a LF that comes next is handed over later.
  bool takeLineFeed();

  std::streambuf* m_input;
  char m_delimiter;
  std::ostream& m_flushBeforeWait;
  std::size_t m_maxRowBytes;
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_next = 0;  // m_buffer[m_next, m_end) is read but not yet taken
  std::size_t m_end = 0;
  uint64_t m_fetched = 0;
  std::size_t m_line = 1;
  bool m_atInputStart = true;
  bool m_afterReturn = false;            // the last byte taken was a CR
  bool m_pendingLineFeed = false;        // a row ended with a CR whose LF may still come
  CellState m_state = CellState::Start;  // where a cut row stands
};

}  // namespace tavimor
