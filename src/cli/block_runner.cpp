#include "cli/block_runner.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tavimor {

namespace {

// Runs one task at a time on its own thread, which lives as long as the worker, so that its
// per-thread caches of the physics stay warm from one block to the next.
class BlockWorker {
 public:
  BlockWorker() : m_thread([this] { run(); }) {}
  ~BlockWorker() {
    {
      const std::lock_guard lock(m_mutex);
      m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
  }
  BlockWorker(const BlockWorker&) = delete;
  BlockWorker& operator=(const BlockWorker&) = delete;

  void start(std::function<void()> task) {
    {
      const std::lock_guard lock(m_mutex);
      m_task = std::move(task);
      m_done = false;
    }
    m_wake.notify_all();
  }

  void wait() {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_done; });
  }

 private:
  void run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
      m_wake.wait(lock, [this] { return m_task != nullptr || m_quit; });
      if (m_task == nullptr) return;
      std::function<void()> task = std::move(m_task);
      m_task = nullptr;
      lock.unlock();
      task();
      lock.lock();
      m_done = true;
      m_wake.notify_all();
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::function<void()> m_task;
  bool m_done = true;
  bool m_quit = false;
  std::thread m_thread;  // last: starts after the members it uses
};

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
  std::vector<std::unique_ptr<BlockWorker>> workers;
  const std::size_t threads = static_cast<std::size_t>(std::max(threadCount, 1));
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
      while (workers.size() + 1 < threads) {
        shares.push_back(std::make_unique<BufferedShare>(makeConverter()));
        workers.push_back(std::make_unique<BlockWorker>());
      }
      // The calling thread also reads and writes every record, so it converts a little less.
      const std::size_t own = count * 9 / (10 * threads);
      const auto bound = [&](std::size_t share) {
        return share == 0 ? 0 : own + (count - own) * (share - 1) / (threads - 1);
      };
      for (std::size_t w = 0; w < workers.size(); ++w) {
        workers[w]->start([&, w] {
          BufferedShare& share = *shares[w];
          convertRange(*share.converter, bound(w + 1), bound(w + 2), share.out, share.err);
        });
      }
      convertRange(first, 0, bound(1), out, err);
      for (std::size_t w = 0; w < workers.size(); ++w) {
        workers[w]->wait();
        shares[w]->writeTo(out, err);
      }
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
