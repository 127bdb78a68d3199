#include "cli/block_runner.h"

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
  explicit BufferedShare(std::unique_ptr<LineConverter> c) : converter(std::move(c)) {}
  void writeTo(std::ostream& realOut, std::ostream& realErr) {
    realOut << out.view();
    realErr << err.view();
    out.str(std::string());
    err.str(std::string());
  }

  std::unique_ptr<LineConverter> converter;
  std::ostringstream out;
  std::ostringstream err;
};

// Lines per block: a block holds at most this many lines of at most kKeptLineChars
// characters each.
constexpr std::size_t kBlockLines = 8192;
// Fewer lines than this are converted on the calling thread alone.
constexpr std::size_t kParallelLines = 512;

}  // namespace

bool ConvertLinesInBlocks(LineReader& reader, int threadCount, LineConverter& first,
                          const LineConverterFactory& makeConverter, std::ostream& out,
                          std::ostream& err) {
  std::vector<std::string> lines;
  std::vector<std::unique_ptr<BufferedShare>> shares;
  std::vector<std::unique_ptr<BlockWorker>> workers;
  const std::size_t threads = static_cast<std::size_t>(std::max(threadCount, 1));
  std::size_t number = 0;
  bool ended = false;
  while (!ended) {
    std::size_t count = 0;
    while (count < kBlockLines) {
      if (lines.size() == count) lines.emplace_back();
      if (!reader.next(lines[count])) {
        ended = true;
        break;
      }
      ++count;
      if (!reader.hasBuffered()) break;
    }
    const std::size_t firstNumber = number;
    number += count;
    const auto convertRange = [&](LineConverter& c, std::size_t begin, std::size_t end,
                                  std::ostream& o, std::ostream& e) {
      for (std::size_t i = begin; i < end; ++i) {
        std::string_view text = lines[i];
        // A byte-order mark, as Windows editors write it, is no part of the first value.
        if (firstNumber + i == 0 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        c.convert(text, firstNumber + i + 1, o, e);
      }
    };
    if (threads == 1 || count < kParallelLines) {
      convertRange(first, 0, count, out, err);
      continue;
    }
    while (workers.size() + 1 < threads) {
      shares.push_back(std::make_unique<BufferedShare>(makeConverter()));
      workers.push_back(std::make_unique<BlockWorker>());
    }
    // The calling thread also reads and writes every line, so it converts a little less.
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
  bool anyFailed = first.anyFailed();
  for (const auto& share : shares) anyFailed = anyFailed || share->converter->anyFailed();
  return anyFailed;
}

}  // namespace tavimor
