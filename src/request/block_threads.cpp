#include "request/block_threads.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace tavimor {

// Runs one task at a time on its own thread.
class BlockThreads::Worker {
 public:
  Worker() : m_thread([this] { loop(); }) {}
  ~Worker() {
    {
      const std::lock_guard lock(m_mutex);
      m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
  }
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

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
  void loop() {
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

BlockThreads::BlockThreads(int threads) : m_threads(std::clamp(threads, 1, kMaxThreads)) {}

BlockThreads::~BlockThreads() = default;

void BlockThreads::run(int shares, const std::function<void(int share)>& work) {
  shares = std::clamp(shares, 0, m_threads);
  std::exception_ptr error;
  std::mutex errorMutex;
  const auto share = [&](int s) {
    try {
      work(s);
    } catch (...) {
      const std::lock_guard lock(errorMutex);
      if (!error) error = std::current_exception();
    }
  };
  while (static_cast<int>(m_workers.size()) + 1 < shares) {
    try {
      m_workers.push_back(std::make_unique<Worker>());
    } catch (const std::system_error&) {
      break;  // no more threads to be had
    }
  }
  const int started = std::min(shares - 1, static_cast<int>(m_workers.size()));
  for (int w = 0; w < started; ++w) {
    m_workers[static_cast<std::size_t>(w)]->start([&share, w] { share(w + 1); });
  }
  if (shares > 0) share(0);
  for (int s = started + 1; s < shares; ++s) share(s);
  for (int w = 0; w < started; ++w) m_workers[static_cast<std::size_t>(w)]->wait();
  if (error) std::rethrow_exception(error);
}

}  // namespace tavimor
