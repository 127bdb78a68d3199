#include "cli/block_runner.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "request/block_threads.h"

namespace tavimor {

namespace {

// A worker thread's share of a block, converted into buffers that are copied to the real
// streams in input order.
struct BufferedShare {
  explicit BufferedShare(std::unique_ptr<RecordConverter> c) : converter(std::move(c)) {}
  void writeTo(std::ostream& realOut, std::ostream& realErr) {
    realOut << out.str();
    realErr << err.str();
    out.str(std::string());
    err.str(std::string());
  }

  std::unique_ptr<RecordConverter> converter;
  std::ostringstream out;
  std::ostringstream err;
};

// Fewer records than this are converted on the calling thread alone.
constexpr std::size_t kParallelRecords = 512;

struct RecordSpan {
  std::size_t Begin;
  std::size_t Size;
  std::size_t LineNumber;
  bool Cut;
};

}  // namespace

BlockRun ConvertRecordsInBlocks(RecordReader& reader, int threadCount, RecordConverter& first,
                                const RecordConverterFactory& makeConverter, std::ostream& out,
                                std::ostream& err, const BlockHooks& hooks) {
  // The records of a block are read into one buffer, so that its memory is reused.
  std::string bytes;
  std::vector<RecordSpan> spans;
  std::vector<Record> records;
  std::vector<std::unique_ptr<BufferedShare>> shares;
  BlockThreads workers(threadCount);
  const auto threads = static_cast<std::size_t>(workers.threads());
  uint64_t converted = 0;
  bool ended = false;
  while (!ended) {
    bytes.clear();
    spans.clear();
    bool cut = false;
    while (spans.size() < kBlockRecords && bytes.size() < kBlockBytes) {
      const std::size_t begin = bytes.size();
      std::size_t lineNumber = 0;
      const RecordReader::Read read = reader.next(bytes, lineNumber);
      if (read == RecordReader::Read::End) {
        ended = true;
        break;
      }
      cut = read == RecordReader::Read::Cut;
      spans.push_back({begin, bytes.size() - begin, lineNumber, cut});
      if (cut || !reader.hasBuffered()) break;
    }
    records.clear();
    for (const RecordSpan& span : spans) {
      records.push_back(
          {std::string_view(bytes).substr(span.Begin, span.Size), span.LineNumber, span.Cut});
    }
    if (hooks.CheckBlock && !hooks.CheckBlock(records)) return BlockRun::Refused;
    const std::size_t count = records.size();
    if (count == 0) continue;
    const auto convertRange = [&](RecordConverter& c, std::size_t begin, std::size_t end,
                                  std::ostream& o, std::ostream& e) {
      for (std::size_t i = begin; i < end; ++i) c.convert(records[i], o, e);
    };
    if (threads == 1 || count < kParallelRecords) {
      convertRange(first, 0, count, out, err);
    } else {
      while (shares.size() + 1 < threads) {
        shares.push_back(std::make_unique<BufferedShare>(makeConverter()));
      }
      // The calling thread also reads and writes every record, so it converts a little less.
      const std::size_t own = count * 9 / (10 * threads);
      const auto bound = [&](std::size_t share) {
        return share == 0 ? 0 : own + (count - own) * (share - 1) / (threads - 1);
      };
      workers.run(static_cast<int>(threads), [&](int share) {
        const auto s = static_cast<std::size_t>(share);
        if (s == 0) {
          convertRange(first, 0, bound(1), out, err);
        } else {
          BufferedShare& buffered = *shares[s - 1];
          convertRange(*buffered.converter, bound(s), bound(s + 1), buffered.out, buffered.err);
        }
      });
      for (const auto& share : shares) share->writeTo(out, err);
    }
    if (cut) first.finishCut(reader.copyRest(out), out);
    if (!out) return BlockRun::WriteFailed;
    converted += count;
    if (hooks.AfterBlock) hooks.AfterBlock(converted);
  }
  // The reader ends the input where flushing the output failed.
  if (!out) return BlockRun::WriteFailed;
  bool anyFailed = first.anyFailed();
  for (const auto& share : shares) anyFailed = anyFailed || share->converter->anyFailed();
  return anyFailed ? BlockRun::SomeFailed : BlockRun::AllConverted;
}

}  // namespace tavimor
