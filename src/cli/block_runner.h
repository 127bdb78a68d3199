#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace tavimor {

// One piece of the input that is converted on its own: a line of values, or a row of a
// table with its line end.
struct Record {
  std::string_view Text;
  std::size_t LineNumber = 0;  // the input line it starts on, counted from 1
  bool Cut = false;            // only its first bytes: the rest follows it (RecordReader::copyRest)
};

// Where records come from, one at a time.
class RecordReader {
 public:
  enum class Read { End, Whole, Cut };

  virtual ~RecordReader() = default;
  // True when the next byte can be read without waiting for the input.
  virtual bool hasBuffered() = 0;
  // Appends the next record's text to block: Whole, or Cut when it is too long to hold, or
  // End at the end of the input, appending nothing.
  virtual Read next(std::string& block, std::size_t& lineNumber) = 0;
  // After Cut: copies the rest of that record up to its line end to out and returns the
  // line end ("" at the end of the input).
  virtual std::string copyRest(std::ostream& /*out*/) { return {}; }
  // Bytes of the input read so far.
  virtual uint64_t bytesRead() const = 0;
};

// Converts one record at a time into out (its result) and err (the reason of a failure).
// One instance per thread: it may keep per-record state of its own.
class RecordConverter {
 public:
  virtual ~RecordConverter() = default;
  virtual void convert(const Record& record, std::ostream& out, std::ostream& err) = 0;
  // Ends the output of a cut record once the rest of it was copied: lineEnd ended it.
  virtual void finishCut(std::string_view /*lineEnd*/, std::ostream& /*out*/) {}
  virtual bool anyFailed() const = 0;
};

// Writes text into out's buffer as out << text does, without the sentry that << builds for
// every write; a write that does not take all of text marks out bad, and a bad out takes
// nothing.
inline void WriteRecordText(std::ostream& out, std::string_view text) {
  const auto size = static_cast<std::streamsize>(text.size());
  if (out && out.rdbuf()->sputn(text.data(), size) != size) out.setstate(std::ios::badbit);
}

using RecordConverterFactory = std::function<std::unique_ptr<RecordConverter>()>;

// What a caller may add to a run; every member may be left empty.
struct BlockHooks {
  // Sees each block before any of it is converted; returning false ends the run there, with
  // nothing of that block written.
  std::function<bool(std::span<const Record> records)> CheckBlock;
  // After a block's output is written, with the records converted so far.
  std::function<void(uint64_t records)> AfterBlock;
};

enum class BlockRun { AllConverted, SomeFailed, Refused, WriteFailed };

// Converts the records of reader in blocks: the records of a block are split between
// threads, the first share converted straight into out, the others into buffers written
// after it, so the output is that of one thread, in input order. A block also ends where
// the input has nothing more buffered, so that an interactive user or a live pipe sees each
// result as soon as its line has come. Memory stays constant: a block holds at most
// kBlockRecords records and about kBlockBytes bytes (or one longer record). A write to out
// that fails ends the run after the block in which it failed (WriteFailed).
inline constexpr std::size_t kBlockRecords = 8192;
inline constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
BlockRun ConvertRecordsInBlocks(RecordReader& reader, int threads, RecordConverter& first,
                                const RecordConverterFactory& makeConverter, std::ostream& out,
                                std::ostream& err, const BlockHooks& hooks = {});

}  // namespace tavimor
