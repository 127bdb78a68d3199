#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "cli/table_reader.h"
#include "run_command.h"

namespace tavimor {
namespace {

using test::RunCommand;
using test::RunOutput;

// A random table as a logger or a spreadsheet could write it, with what each row holds.
struct Table {
  std::string Text;
  char Delimiter;
  std::size_t Column;          // the values, from 1
  std::size_t PressureColumn;  // from 1
  bool ByteOrderMark = false;
  bool Header = false;
  struct Row {
    std::string Content;  // before its line end
    std::string LineEnd;
    bool Header = false;
    bool Blank = false;
    std::string Value;     // the value cell's text
    std::string Pressure;  // the pressure cell's text
  };
  std::vector<Row> Rows;
};

class TableMaker {
 public:
  explicit TableMaker(uint64_t seed) : m_rng(seed) {}

  Table make() {
    Table t;
    t.Delimiter = pick<char>({',', '\t', ';'});
    const std::size_t columns = 2 + index(4);
    t.Column = 1 + index(columns);
    t.PressureColumn = 1 + (t.Column % columns);  // another column
    const bool header = t.Header = chance(0.5);
    const std::size_t rows = 1 + index(60);
    t.ByteOrderMark = chance(0.3);
    if (t.ByteOrderMark) t.Text = "\xEF\xBB\xBF";
    for (std::size_t r = 0; r < rows + header; ++r) {
      Table::Row row;
      if (r > 0 && chance(0.05)) {
        row.Blank = true;
        row.LineEnd = chance(0.5) ? "\n" : "\r\n";
        t.Text += row.LineEnd;
        t.Rows.push_back(row);
        continue;
      }
      row.Header = header && r == 0;
      for (std::size_t c = 1; c <= columns; ++c) {
        std::string text;
        if (row.Header) {
          text = (chance(0.2) ? "name\n" : "name ") + std::to_string(c);
        } else if (c == t.Column) {
          text = row.Value = value();
        } else if (c == t.PressureColumn) {
          text = row.Pressure = pressure();
        } else {
          text = filler();
        }
        if (c > 1) row.Content += t.Delimiter;
        row.Content += cell(text, t.Delimiter, c == t.Column || c == t.PressureColumn);
      }
      const bool last = r + 1 == rows + header;
      row.LineEnd = last && chance(0.3) ? "" : chance(0.5) ? "\n" : "\r\n";
      t.Text += row.Content + row.LineEnd;
      t.Rows.push_back(row);
    }
    return t;
  }

 private:
  bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_rng) < p; }
  std::size_t index(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_rng);
  }
  template <class T>
  T pick(std::initializer_list<T> choices) {
    return *(choices.begin() + index(choices.size()));
  }

  // Dew points in °C, mostly in range, sometimes beyond, empty or no number.
  std::string value() {
    if (chance(0.1)) return pick<std::string>({"", "abc", "-", "1e400", "N/A"});
    const double v = std::uniform_real_distribution<double>(-150, 60)(m_rng);
    std::ostringstream s;
    s.precision(static_cast<int>(2 + index(6)));
    s << (chance(0.1) ? " " : "") << v;
    return s.str();
  }

  // Line pressures in psig.
  std::string pressure() {
    if (chance(0.08)) return pick<std::string>({"", "---", "x1"});
    std::ostringstream s;
    s << std::uniform_real_distribution<double>(-14, 2000)(m_rng);
    return s.str();
  }

  std::string filler() {
    return pick<std::string>({"", "ok", "2024-05-01 10:00:00", "valve 2, opened", "say \"ok\"",
                              "two\nlines", "two\r\nlines", "a\tb", "x;y"});
  }

  // The cell's bytes: quoted where it must be, and sometimes where it need not be.
  std::string cell(const std::string& text, char delimiter, bool numeric) {
    const bool must =
        text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string::npos;
    if (!must && (numeric || !chance(0.3))) {
      if (!numeric || !chance(0.2)) return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
      if (c == '"') quoted += '"';
      quoted += c;
    }
    return quoted + "\"";
  }

  std::mt19937_64 m_rng;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Every row comes out as it came with one cell more, which is what the command gives for
// the row's value alone: on standard input at one pressure, or as the only VALUE at the
// row's pressure when a column holds it.
TEST(TableConvert, NewCellEqualsTheConversionOfTheValueAlone) {
  for (uint64_t seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    const Table t = TableMaker(seed).make();
    const std::string delimiter(1, t.Delimiter);
    const std::string column = std::to_string(t.Column);
    const bool perRow = seed % 2 == 0;
    std::vector<std::string_view> args = {
        "--delimiter",   delimiter,  "--column", column,     "--from",
        "dfp-c",         "--to",     "ppmv",     "--header", t.Header ? "auto" : "no",
        "--enhancement", "greenspan"};
    const std::string pressureColumn = std::to_string(t.PressureColumn);
    if (perRow) {
      args.insert(args.end(), {"--measured-column", pressureColumn, "--measured", "0,psig"});
    }

    // The values alone, one a line, at the one pressure.
    std::string values;
    for (const Table::Row& row : t.Rows) {
      if (!row.Blank && !row.Header) values += row.Value + "\n";
    }
    const std::vector<std::string> alone = Lines(
        RunCommand({"--from", "dfp-c", "--to", "ppmv", "--enhancement", "greenspan"}, values).Out);

    std::string expected = t.ByteOrderMark ? "\xEF\xBB\xBF" : "";
    bool anyError = false;
    std::size_t next = 0;
    for (const Table::Row& row : t.Rows) {
      if (row.Blank) {
        expected += row.LineEnd;
        continue;
      }
      std::string result;
      if (row.Header) {
        result = "ppmv";
      } else if (!perRow) {
        result = alone.at(next++);
      } else {
        const std::string measured = row.Pressure + ",psig";
        const RunOutput single = RunCommand({"--from", "dfp-c", "--to", "ppmv", "--enhancement",
                                             "greenspan", "--measured", measured, "--", row.Value},
                                            "");
        result = single.Code == kExitUsage ? "error" : Lines(single.Out).at(0);
      }
      anyError = anyError || result == "error";
      expected += row.Content + t.Delimiter + result + row.LineEnd;
    }
    const RunOutput table = RunCommand(args, t.Text);
    EXPECT_EQ(table.Out, expected) << "table:\n" << t.Text;
    EXPECT_EQ(table.Code, anyError ? kExitBadValue : kExitOk) << table.Err;
  }
}

// A row longer than the reader holds (64 MiB), as an unclosed quote makes one, goes out byte
// for byte with "error" before its line end, and the rows after it are converted as usual.
TEST(TableConvert, PassesARowTooLongToHoldThroughUnchanged) {
  constexpr std::size_t kMax = TableReader::kMaxRowBytes;
  const std::string longCell = "\"" + std::string(kMax + (1 << 20), 'x') + "\r\n\"";
  const std::string unclosed = "\"" + std::string(kMax + (1 << 20), 'y') + "\n";
  // A CR that ends a row within the limit ends it whole; one right after the limit ends a
  // row that was cut.
  const std::string endsAtLimit(kMax - 1, 'z');
  const std::string cutBeforeReturn(kMax, 'z');
  const std::string input = "20,a\r\n" + longCell + ",5\r\n" + endsAtLimit + "\r\n" +
                            cutBeforeReturn + "\r\n-20,b\r\n" + unclosed;
  const RunOutput r = RunCommand(
      {"--csv", "--column", "1", "--header", "no", "--from", "dp-c", "--to", "ppmv"}, input);
  EXPECT_TRUE(r.Out == "20,a,23597.0\r\n" + longCell + ",5,error\r\n" + endsAtLimit + ",error\r\n" +
                           cutBeforeReturn + ",error\r\n-20,b,1238.1\r\n" + unclosed + ",error");
  const std::string open =
      ": a quoted cell is still open after 64 MiB, the longest row the command holds (is its "
      "closing quote missing?)\n";
  EXPECT_EQ(r.Err, "line 2" + open +
                       "line 4: column 1: not a number\nline 5: a row longer than "
                       "64 MiB, the longest row the command holds\nline 7" +
                       open);
  EXPECT_EQ(r.Code, kExitBadValue);
}

}  // namespace
}  // namespace tavimor
