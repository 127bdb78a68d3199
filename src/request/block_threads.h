#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace tavimor {

// Threads a front end may run shares of its work on (--threads, threads=).
inline constexpr int kMaxThreads = 16;

// The one way the front ends run work on several threads: shares of a block, the first on
// the calling thread, the others on threads that live as long as this object, so that their
// per-thread caches of the physics stay warm from one block to the next. Where no thread can
// be started, the calling thread does that share too.
class BlockThreads {
 public:
  // Up to threads - 1 threads besides the calling one; threads is clamped to 1..kMaxThreads.
  explicit BlockThreads(int threads);
  ~BlockThreads();
  BlockThreads(const BlockThreads&) = delete;
  BlockThreads& operator=(const BlockThreads&) = delete;

  int threads() const { return m_threads; }

  // Calls work(share) for every share from 0 to shares - 1 (at most threads()), share 0 on
  // the calling thread, and returns when all are done; then the first exception a share
  // threw is thrown again.
  void run(int shares, const std::function<void(int share)>& work);

 private:
  class Worker;
  int m_threads;
  std::vector<std::unique_ptr<Worker>> m_workers;
};

}  // namespace tavimor
