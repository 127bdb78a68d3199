#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <string_view>

#include "cli/line_reader.h"

namespace tavimor {

// Converts one input line at a time into out (its result line) and err (the reason of a
// failure). One instance per thread: it may keep per-line state of its own.
class LineConverter {
 public:
  virtual ~LineConverter() = default;
  // lineNumber counts the lines of the input from 1.
  virtual void convert(std::string_view line, std::size_t lineNumber, std::ostream& out,
                       std::ostream& err) = 0;
  virtual bool anyFailed() const = 0;
};

using LineConverterFactory = std::function<std::unique_ptr<LineConverter>()>;

// Converts the lines of reader in blocks: the lines of a block are split between threads,
// the first share converted straight into out, the others into buffers written after it, so
// the output is that of one thread, in input order. A block also ends where the input has
// nothing more buffered, so that an interactive user sees each result as soon as the line
// is typed. A byte-order mark at the start of the first line is dropped. Memory stays
// constant. Returns whether any line failed.
bool ConvertLinesInBlocks(LineReader& reader, int threads, LineConverter& first,
                          const LineConverterFactory& makeConverter, std::ostream& out,
                          std::ostream& err);

}  // namespace tavimor
