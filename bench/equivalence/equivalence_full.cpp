// The fast-path equivalence check at full size: tavimor_equivalence_full [conversions per
// family, default 1000000] [seed]. Runs the families on two threads and exits with 1 on the
// first family that differs from the reference in any bit.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "reference/fast_path_equivalence.h"

int main(int argc, char** argv) {
  using namespace tavimor::equivalence;
  const uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
  std::mutex printing;
  bool failed = false;
  auto runFamilies = [&](std::size_t first) {
    for (std::size_t f = first; f < kFamilies.size(); f += 2) {
      const auto start = std::chrono::steady_clock::now();
      const Report r = Checker(seed * 1000 + f).run(kFamilies[f], count);
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      const std::lock_guard lock(printing);
      std::printf("%-16s %llu conversions, %llu values compared, %llu differ (%.1f s)\n",
                  FamilyName(kFamilies[f]), static_cast<unsigned long long>(count),
                  static_cast<unsigned long long>(r.Checked),
                  static_cast<unsigned long long>(r.Mismatches), seconds);
      if (r.Mismatches != 0) {
        std::printf("  first: %s\n", r.First.c_str());
        failed = true;
      }
      std::fflush(stdout);
    }
  };
  std::thread second(runFamilies, 1);
  runFamilies(0);
  second.join();
  return failed ? 1 : 0;
}
