// The command's line path on one thread: lines read from memory, converted and written
// through the command's own output into /dev/null, beside the same lines only read and
// written back (the floor that reading and writing alone set). Time per iteration is for
// kLines lines; per_line divides it (CPU time).

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "cli/block_runner.h"
#include "cli/convert_command.h"
#include "cli/descriptor_output.h"
#include "cli/line_reader.h"

namespace tavimor {
namespace {

constexpr int kLines = 100000;

// kLines values as a logger writes them, two decimals: dew points from -60 to 50 °C, or
// mole ratios from 1 to about 30 000 ppmv evenly in the logarithm.
std::string LinesOf(bool dewPoints) {
  std::mt19937_64 random(24);
  std::uniform_real_distribution<double> uniform(0, 1);
  std::string text;
  char line[32];
  for (int i = 0; i < kLines; ++i) {
    const double u = uniform(random);
    const double value = dewPoints ? -60 + 110 * u : std::pow(10.0, 4.5 * u);
    text.append(line, static_cast<std::size_t>(std::snprintf(line, sizeof line, "%.2f\n", value)));
  }
  return text;
}

// Standard input that is all there from the start, as a file is.
class MemoryInput : public std::streambuf {
 public:
  explicit MemoryInput(std::string& text) {
    setg(text.data(), text.data(), text.data() + text.size());
  }
};

// Standard output as the command has it, into /dev/null.
class NullOutput {
 public:
  NullOutput() : m_fd(open("/dev/null", O_WRONLY)), m_buffer(m_fd), m_out(&m_buffer) {}
  ~NullOutput() { close(m_fd); }
  NullOutput(const NullOutput&) = delete;
  NullOutput& operator=(const NullOutput&) = delete;
  std::ostream& out() { return m_out; }

 private:
  int m_fd;
  DescriptorOutput m_buffer;
  std::ostream m_out;
};

void CountLines(benchmark::State& state) {
  state.counters["per_line"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kLines,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Each line's text copied to the output with its line end: the reading, the blocks and the
// writing of the command without the conversion.
class EchoLine : public RecordConverter {
 public:
  void convert(const Record& record, std::ostream& out, std::ostream& /*err*/) override {
    m_line.assign(record.Text);
    m_line.push_back('\n');
    WriteRecordText(out, m_line);
  }
  bool anyFailed() const override { return false; }

 private:
  std::string m_line;
};

void ReadAndWriteOnly(benchmark::State& state, bool dewPoints) {
  std::string text = LinesOf(dewPoints);
  NullOutput output;
  std::ostringstream err;
  for (auto _ : state) {
    MemoryInput input(text);
    LineReader reader(&input, output.out());
    EchoLine echo;
    const BlockRun run = ConvertRecordsInBlocks(
        reader, 1, echo, [] { return std::make_unique<EchoLine>(); }, output.out(), err);
    output.out().flush();
    if (run != BlockRun::AllConverted) state.SkipWithError("the lines were not all written");
  }
  CountLines(state);
}

// The whole command on those lines: tavimor-convert --from F --to T --threads 1.
void ConvertLines(benchmark::State& state, bool dewPoints, std::vector<std::string_view> args) {
  std::string text = LinesOf(dewPoints);
  args.insert(args.end(), {"--threads", "1"});
  NullOutput output;
  std::ostringstream err;
  for (auto _ : state) {
    MemoryInput input(text);
    std::istream in(&input);
    if (RunConvert(args, in, output.out(), err) != kExitOk) {
      state.SkipWithError("the command failed");
    }
  }
  CountLines(state);
}

BENCHMARK_CAPTURE(ReadAndWriteOnly, DewPoints, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertLines, DewPointToPpmv, true, {"--from", "dp-c", "--to", "ppmv"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAndWriteOnly, Ppmv, false)->Unit(benchmark::kMillisecond);
// The dew point of each line found in the thread's warm dew-point grid.
BENCHMARK_CAPTURE(ConvertLines, PpmvToDewPoint, false, {"--from", "ppmv", "--to", "dp-c"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavimor
