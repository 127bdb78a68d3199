#include "cli/convert_command.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <thread>

#include "core/moisture_conversion.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "core/version.h"
#include "store/saved_selections.h"

namespace tavimor {

namespace {

constexpr std::string_view kProgram = "tavimor-convert";

// ReadNumber looks at no more than this many characters of a field.
constexpr std::size_t kFieldChars = 14;

// Characters of an input line that are kept: enough for ReadNumber and a byte-order mark,
// so that a line of any length costs constant memory.
constexpr std::size_t kKeptLineChars = 64;

constexpr std::array<std::string_view, kMoistureUnitCount> kUnitNames = {
    "mbar", "dfp-c",    "dfp-f", "dp-c", "dp-f",       "ppmv",
    "ppmw", "lb-mmscf", "g-m3",  "rh",   "ppmw-liquid"};

template <typename T>
struct NamedChoice {
  std::string_view Name;
  T Value;
};

constexpr std::array<NamedChoice<SwvpFormula>, 4> kFormulas = {{
    {"goff-gratch", SwvpFormula::GoffGratch},
    {"hyland-wexler", SwvpFormula::HylandWexler},
    {"sonntag", SwvpFormula::Sonntag},
    {"magnus", SwvpFormula::Magnus},
}};

constexpr std::array<NamedChoice<EnhancementFactor>, 3> kEnhancements = {{
    {"none", EnhancementFactor::NoEnhancement},
    {"greenspan", EnhancementFactor::Greenspan},
    {"bogel", EnhancementFactor::Bogel},
}};

constexpr std::array<NamedChoice<GasMethod>, 2> kGasMethods = {{
    {"igt", GasMethod::IgtBulletin8},
    {"astm", GasMethod::Astm},
}};

constexpr std::array<NamedChoice<DensityMedium>, 3> kMedia = {{
    {"natural-gas", DensityMedium::NaturalGas},
    {"air", DensityMedium::AirMixture},
    {"vapor", DensityMedium::PureVapor},
}};

// Threads that --threads accepts.
constexpr int kMaxThreads = 16;

struct OptionSpec {
  std::string_view Name;
  bool TakesValue;
};

constexpr std::array<OptionSpec, 23> kOptions = {{
    {"--from", true},          {"--to", true},
    {"--measured", true},      {"--compute-at", true},
    {"--formula", true},       {"--enhancement", true},
    {"--gas-method", true},    {"--from-mw", true},
    {"--to-mw", true},         {"--from-k", true},
    {"--to-k", true},          {"--from-ambient", true},
    {"--to-ambient", true},    {"--from-medium", true},
    {"--to-medium", true},     {"--from-vapor-temp", true},
    {"--to-vapor-temp", true}, {"--increment", true},
    {"--raw", false},          {"--help", false},
    {"--ini", true},           {"--threads", true},
    {"--version", false},
}};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// A bad text quoted in a message, cut so that a huge argument cannot flood the terminal.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string q = "\"";
  q.append(text.substr(0, kShown));
  if (text.size() > kShown) q.append("...");
  q.push_back('"');
  return q;
}

// A list position written as plain decimal digits, below count.
std::optional<int> ParseIndex(std::string_view text, int count) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
  }
  int index = 0;
  std::from_chars(text.data(), text.data() + text.size(), index);
  if (index >= count) return std::nullopt;
  return index;
}

std::optional<int> ParseMoistureUnit(std::string_view text) {
  if (auto index = ParseIndex(text, kMoistureUnitCount)) return index;
  for (int i = 0; i < kMoistureUnitCount; ++i) {
    if (EqualsIgnoringCase(text, kUnitNames[static_cast<std::size_t>(i)])) return i;
  }
  return std::nullopt;
}

std::optional<int> ParsePressureUnit(std::string_view text) {
  if (auto index = ParseIndex(text, kPressureUnitCount)) return index;
  for (const PressureUnitRow& row : kPressureUnits) {
    if (EqualsIgnoringCase(text, row.Name)) return row.Index;
  }
  return std::nullopt;
}

template <typename T, std::size_t N>
std::optional<T> ParseChoice(std::string_view text, const std::array<NamedChoice<T>, N>& choices) {
  for (const auto& choice : choices) {
    if (EqualsIgnoringCase(text, choice.Name)) return choice.Value;
  }
  return std::nullopt;
}

// A number read the way a panel field reads it and held in single precision, as the field's
// number is; nothing when the text has no numeric prefix.
std::optional<float> ParseFieldNumber(std::string_view text) {
  if (!ReadsAsNumber(text)) return std::nullopt;
  return HoldSingle(ReadNumber(text));
}

std::optional<PressureSetting> ParsePressure(std::string_view text) {
  PressureSetting pressure;
  std::string_view number = text;
  if (const auto comma = text.find(','); comma != std::string_view::npos) {
    number = text.substr(0, comma);
    const auto unit = ParsePressureUnit(text.substr(comma + 1));
    if (!unit) return std::nullopt;
    pressure.Unit = *unit;
  }
  const auto value = ParseFieldNumber(number);
  if (!value) return std::nullopt;
  pressure.Value = *value;
  return pressure;
}

// The parameter dialogs accept only these; a value outside would divide by zero or leave the
// formulas' temperature range, so the command refuses it like a dialog does.
bool IsAcceptedPositive(float v) {
  return v > 0 && std::isfinite(v);
}
bool IsAcceptedTemperatureC(float v) {
  return v > -80 && v < 200;
}

std::string BadValue(std::string_view option, std::string_view value, std::string_view expected) {
  std::string message = "bad value ";
  message.append(Quoted(value)).append(" for ").append(option).append(": ").append(expected);
  return message;
}

std::optional<std::string> ApplySideOption(std::string_view option, std::string_view param,
                                           std::string_view value, SideParams& side) {
  if (param == "medium") {
    const auto medium = ParseChoice(value, kMedia);
    if (!medium) return BadValue(option, value, "expected natural-gas, air or vapor");
    side.DensityMedium = *medium;
    return std::nullopt;
  }
  const auto number = ParseFieldNumber(value);
  if (param == "mw" || param == "k") {
    if (!number || !IsAcceptedPositive(*number)) {
      return BadValue(option, value, "expected a number above 0");
    }
    if (param == "mw") {
      side.MolWeight = *number;
      side.GasIndex = static_cast<int16_t>(OtherGasIndex);  // a typed molecular weight
    } else {
      side.HenryK = *number;
      side.Liquid = LiquidChoice::CustomLiquid;
    }
    return std::nullopt;
  }
  if (!number || !IsAcceptedTemperatureC(*number)) {
    return BadValue(option, value, "expected a temperature above -80 and below 200 (°C)");
  }
  if (param == "ambient") {
    side.AmbientTempC = *number;
    side.AmbientTempUnit = AmbientTempUnit::AmbientCelsius;
  } else {
    side.VaporTempC = *number;
    side.VaporTempUnit = VaporTempUnit::VaporCelsius;
  }
  return std::nullopt;
}

std::optional<std::string> ApplyOption(std::string_view option, std::string_view value,
                                       ConvertSettings& settings) {
  if (option == "--from" || option == "--to") {
    const auto unit = ParseMoistureUnit(value);
    if (!unit) return BadValue(option, value, "expected a unit index 0 to 10 or a unit name");
    (option == "--from" ? settings.FromUnit : settings.ToUnit) = *unit;
  } else if (option == "--measured" || option == "--compute-at") {
    const auto pressure = ParsePressure(value);
    if (!pressure) {
      return BadValue(option, value,
                      "expected a number, optionally followed by a comma and a pressure unit "
                      "(0 to 4, mbar, psia, psig, atm, kpa)");
    }
    if (option == "--measured") {
      settings.Measured = *pressure;
    } else {
      settings.ComputeAt = *pressure;
    }
  } else if (option == "--formula") {
    const auto formula = ParseChoice(value, kFormulas);
    if (!formula)
      return BadValue(option, value, "expected goff-gratch, hyland-wexler, sonntag or magnus");
    settings.Calc.SwvpFormula = *formula;
  } else if (option == "--enhancement") {
    const auto factor = ParseChoice(value, kEnhancements);
    if (!factor) return BadValue(option, value, "expected none, greenspan or bogel");
    settings.Calc.EnhancementFactor = *factor;
  } else if (option == "--gas-method") {
    const auto method = ParseChoice(value, kGasMethods);
    if (!method) return BadValue(option, value, "expected igt or astm");
    settings.Calc.GasMethod = *method;
  } else if (option == "--increment") {
    const auto increment = ParseFieldNumber(value);
    if (!increment) return BadValue(option, value, "expected a number");
    settings.Increment = *increment;
  } else if (option == "--threads") {
    const auto threads = ParseIndex(value, kMaxThreads + 1);
    if (!threads || *threads < 1) {
      return BadValue(option, value, "expected a number of threads from 1 to 16");
    }
    settings.Threads = *threads;
  } else if (option == "--raw") {
    settings.Raw = true;
  } else if (option.starts_with("--from-")) {
    return ApplySideOption(option, option.substr(7), value, settings.Calc.From);
  } else if (option.starts_with("--to-")) {
    return ApplySideOption(option, option.substr(5), value, settings.Calc.To);
  }
  return std::nullopt;
}

// The last --ini FILE: the units, pressures, compute-at choice and parameters saved there,
// read by the panel's own parser. The From value saved there is not used.
std::optional<std::string> ApplySavedSelectionsOption(const CommandLine& line,
                                                      ConvertSettings& settings) {
  std::optional<std::string_view> file;
  for (const auto& [option, value] : line.Options) {
    if (option == "--ini") file = value;
  }
  if (!file) return std::nullopt;
  const std::filesystem::path path(*file);
  if (std::error_code ec; !std::filesystem::is_regular_file(path, ec) || !std::ifstream(path)) {
    return "cannot read the saved selections " + Quoted(*file);
  }
  PanelSelections saved;
  ReadSavedSelections(ProfileReaderForFile(path), saved, settings.Calc);
  settings.FromUnit = saved.FromUnit;
  settings.ToUnit = saved.ToUnit;
  settings.Measured = {saved.MeasuredPressure, saved.MeasuredPressureUnit};
  if (saved.PressureChoice == 1016) {  // compute at the measured pressure
    settings.ComputeAt.reset();
  } else {
    settings.ComputeAt = PressureSetting{saved.ComputePressure, saved.ComputePressureUnit};
  }
  return std::nullopt;
}

// Lines of a stream, one at a time, with constant memory: only the first kKeptLineChars
// characters of a line are kept. A carriage return that ends a line is dropped, and a last
// line without a line feed still counts.
class LineReader {
 public:
  // flushBeforeWait is flushed whenever the input has nothing buffered, so that results
  // appear while an interactive user types, yet a file or pipe is still written in blocks.
  LineReader(std::streambuf* input, std::ostream& flushBeforeWait)
      : m_input(input), m_flushBeforeWait(flushBeforeWait) {}

  // True when the next character can be read without waiting for the input.
  bool hasBuffered() { return m_input != nullptr && m_input->in_avail() > 0; }

  bool next(std::string& line) {
    line.clear();
    if (m_input == nullptr) return false;
    bool any = false;
    bool cut = false;
    char last = '\0';
    for (;;) {
      if (m_input->in_avail() <= 0) m_flushBeforeWait.flush();
      const int c = m_input->sbumpc();
      if (c == std::char_traits<char>::eof()) {
        if (!any) return false;
        break;
      }
      any = true;
      if (c == '\n') break;
      last = static_cast<char>(c);
      if (line.size() < kKeptLineChars) {
        line.push_back(last);
      } else {
        cut = true;
      }
    }
    if (last == '\r' && !cut) line.pop_back();
    return true;
  }

 private:
  std::streambuf* m_input;
  std::ostream& m_flushBeforeWait;
};

// All 17 significant digits of a value as held in single precision, in the shortest of
// fixed and exponent notation ("%.17g"), independent of the locale.
std::string FormatRaw(float value) {
  std::array<char, 40> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                    static_cast<double>(value), std::chars_format::general, 17);
  return std::string(buffer.data(), result.ptr);
}

class Converter {
 public:
  Converter(const ConvertSettings& settings, std::ostream& out, std::ostream& err)
      : m_settings(settings), m_out(out), m_err(err) {
    const PressureSetting compute = settings.ComputeAt.value_or(settings.Measured);
    m_inputs.Increment = settings.Increment.value_or(0.0f);
    m_inputs.FromUnit = settings.FromUnit;
    m_inputs.FromListSelection = settings.FromUnit;
    m_inputs.ToListSelection = settings.ToUnit;
    m_inputs.MeasuredPressure = settings.Measured.Value;
    m_inputs.MeasuredPressureUnit = settings.Measured.Unit;
    m_inputs.ComputePressure = compute.Value;
    m_inputs.ComputePressureUnit = compute.Unit;
  }

  // One value; lineNumber is what its "error" reason names.
  void convert(std::string_view text, std::size_t lineNumber) {
    if (!ReadsAsNumber(text)) {
      fail(lineNumber, "not a number");
      return;
    }
    const float value = HoldSingle(ReadNumber(text));
    if (const auto message = FromValueRangeMessage(m_settings.FromUnit, value)) {
      fail(lineNumber, *message);
      return;
    }
    m_inputs.FromValue = value;
    const MoistureResults results = ComputeMoistureResults(m_inputs, m_settings.Calc);
    writeResult(results.ResultValid, results.Result, results.ResultText);
    if (m_settings.Increment) {
      m_out << '\t';
      writeResult(results.DeltaValid, results.Delta, results.DeltaText);
    }
    m_out << '\n';
  }

  bool anyFailed() const { return m_anyFailed; }

 private:
  void writeResult(bool valid, float value, const std::string& text) {
    if (m_settings.Raw && valid) {
      m_out << FormatRaw(value);
    } else {
      m_out << text;
    }
  }

  void fail(std::size_t lineNumber, std::string_view reason) {
    m_out << "error\n";
    m_err << "line " << lineNumber << ": " << reason << '\n';
    m_anyFailed = true;
  }

  const ConvertSettings& m_settings;
  std::ostream& m_out;
  std::ostream& m_err;
  MoistureInputs m_inputs;
  bool m_anyFailed = false;
};

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

// A worker thread's share of a block: its converter writes into buffers that are copied to
// the real streams in input order.
class BufferedShare {
 public:
  explicit BufferedShare(const ConvertSettings& settings) : m_converter(settings, m_out, m_err) {}
  Converter& converter() { return m_converter; }
  void writeTo(std::ostream& out, std::ostream& err) {
    out << m_out.view();
    err << m_err.view();
    m_out.str(std::string());
    m_err.str(std::string());
  }

 private:
  std::ostringstream m_out;
  std::ostringstream m_err;
  Converter m_converter;
};

// Lines per block of standard input: a block holds at most this many lines of at most
// kKeptLineChars characters each, so memory stays constant.
constexpr std::size_t kBlockLines = 8192;
// Fewer lines than this are converted on the calling thread alone.
constexpr std::size_t kParallelLines = 512;

// The lines of standard input, in blocks: the lines of a block are split between the
// threads, the first share converted straight into out, the others into buffers written
// after it, so the output is that of one thread, in input order. A block also ends where
// the input has nothing more buffered, so that an interactive user sees each result as
// soon as the line is typed. Returns whether any line failed.
bool ConvertLines(const ConvertSettings& settings, LineReader& reader, Converter& converter,
                  std::ostream& out, std::ostream& err) {
  std::vector<std::string> lines;
  std::vector<std::unique_ptr<BufferedShare>> shares;
  std::vector<std::unique_ptr<BlockWorker>> workers;
  const std::size_t threads =
      static_cast<std::size_t>(std::clamp(settings.Threads, 1, kMaxThreads));
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
    const std::size_t first = number;
    number += count;
    const auto convertRange = [&](Converter& c, std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        std::string_view text = lines[i];
        // A byte-order mark, as Windows editors write it, is no part of the first value.
        if (first + i == 0 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        c.convert(text, first + i + 1);
      }
    };
    if (threads == 1 || count < kParallelLines) {
      convertRange(converter, 0, count);
      continue;
    }
    while (workers.size() + 1 < threads) {
      shares.push_back(std::make_unique<BufferedShare>(settings));
      workers.push_back(std::make_unique<BlockWorker>());
    }
    // The calling thread also reads and writes every line, so it converts a little less.
    const std::size_t own = count * 9 / (10 * threads);
    const auto bound = [&](std::size_t share) {
      return share == 0 ? 0 : own + (count - own) * (share - 1) / (threads - 1);
    };
    for (std::size_t w = 0; w < workers.size(); ++w) {
      workers[w]->start(
          [&, w] { convertRange(shares[w]->converter(), bound(w + 1), bound(w + 2)); });
    }
    convertRange(converter, 0, bound(1));
    for (std::size_t w = 0; w < workers.size(); ++w) {
      workers[w]->wait();
      shares[w]->writeTo(out, err);
    }
  }
  bool anyFailed = converter.anyFailed();
  for (const auto& share : shares) anyFailed = anyFailed || share->converter().anyFailed();
  return anyFailed;
}

void WarnAboutPressure(std::string_view which, const PressureSetting& pressure, std::ostream& err) {
  const float mbar = ReadPressureMbar(pressure.Value, pressure.Unit);
  if (!(mbar > 0) || !std::isfinite(mbar)) {
    err << kProgram << ": warning: the " << which
        << " pressure is not a finite number above 0 mbar; conversions at it give \"out of "
           "range\"\n";
  }
}

}  // namespace

bool ReadsAsNumber(std::string_view text) {
  text = text.substr(0, kFieldChars);
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i < text.size() && IsDigit(text[i])) return true;
  return i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1]);
}

CommandLineParse SplitCommandLine(std::span<const std::string_view> args) {
  CommandLineParse parse;
  CommandLine& line = parse.Line;
  // Help, then the version, win over everything else before "--", even over a bad option.
  for (std::string_view arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      line.Help = true;
      return parse;
    }
    if (arg == "--version") line.Version = true;
  }
  if (line.Version) return parse;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    // A negative number such as -40 is a value, not an option.
    if (optionsEnded || !arg.starts_with('-') || ReadsAsNumber(arg)) {
      line.Values.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string_view name = arg;
    std::optional<std::string_view> inlineValue;
    if (const auto equals = arg.find('=');
        arg.starts_with("--") && equals != std::string_view::npos) {
      name = arg.substr(0, equals);
      inlineValue = arg.substr(equals + 1);
    }
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& candidate : kOptions) {
      if (candidate.Name == name) spec = &candidate;
    }
    if (spec == nullptr) {
      parse.Error = "unknown option " + Quoted(name);
      return parse;
    }
    std::string_view value;
    if (spec->TakesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        parse.Error = "option " + std::string(name) + " needs a value";
        return parse;
      }
    } else if (inlineValue) {
      parse.Error = "option " + std::string(name) + " takes no value";
      return parse;
    }
    line.Options.emplace_back(name, value);
  }
  return parse;
}

std::optional<std::string> ApplyOptions(const CommandLine& line, ConvertSettings& settings) {
  for (const auto& [option, value] : line.Options) {
    if (auto error = ApplyOption(option, value, settings)) return error;
  }
  // The From-side parameters the From value is entered under are the From side itself.
  settings.Calc.FromBasis = BasisOf(settings.Calc.From);
  return std::nullopt;
}

std::string_view ConvertUsage() {
  return R"(Usage: tavimor-convert [OPTIONS] [VALUE...]
Converts each VALUE, or with no VALUE each line of standard input, from the From
unit to the To unit and prints one line per value, in order: the result as the
Moisture/Humidity panel shows it, or "error" (the reason goes to standard error
as "line N: ...", N counting the values, or the lines of standard input).

Moisture units (index or name):
   0 mbar         partial water vapour pressure, mbar
   1 dfp-c        dew/frost point, °C
   2 dfp-f        dew/frost point, °F
   3 dp-c         dew point over supercooled water, °C
   4 dp-f         dew point over supercooled water, °F
   5 ppmv         parts per million by volume
   6 ppmw         parts per million by weight in a gas (--from-mw, --to-mw)
   7 lb-mmscf     lb of water per million standard cubic feet of natural gas
   8 g-m3         grams of water per cubic metre (--*-medium, --*-vapor-temp)
   9 rh           percent relative humidity (--from-ambient, --to-ambient)
  10 ppmw-liquid  parts per million by weight in a liquid (--from-k, --to-k)
Pressure units (index or name): 0 mbar, 1 psia, 2 psig, 3 atm, 4 kpa

Options:
  --from UNIT, --to UNIT   units to convert from and to (default 1, dfp-c)
  --measured P[,UNIT]      measured total pressure (default 1013.25,mbar)
  --compute-at P[,UNIT]    pressure to compute the result at (default: measured)
  --formula F              goff-gratch (default), hyland-wexler, sonntag, magnus
  --enhancement E          none (default), greenspan, bogel
  --gas-method M           igt (default), astm
  --from-mw MW             molecular weight of the carrier gas, g/mol (default 29)
  --from-k K               Henry's constant of the liquid, ppm/mbar (default 1.9)
  --from-ambient T         dry-bulb temperature for %RH, °C (default 20)
  --from-medium M          medium for g/m3: natural-gas (default), air, vapor
  --from-vapor-temp T      vapour temperature for g/m3, °C (default 20)
  --to-mw, --to-k, --to-ambient, --to-medium, --to-vapor-temp
                           the same for the To unit
  --ini FILE               start from the selections saved in FILE (section
                           Tavimor of an INI file); the other options override them
  --increment D            after the result, a tab and the change of the result
                           when the value changes by D
  --raw                    results with 17 significant digits, not rounded
  --threads N              threads converting standard input, 1 to 16 (default 2);
                           the output is the same with any number
  -h, --help               print this help
  --version                print the name and version of the program
  --                       end of options: every later argument is a VALUE

A VALUE may be negative (-40). Numbers are read like the panel's fields: the
longest numeric prefix of the first 14 characters counts. A value outside the
From unit's range (for example above 123.4 mbar) is an error.
Exit status: 0 all converted, 1 some value gave "error", 2 usage error.
)";
}

std::string_view ConvertUsageHint() {
  return "Usage: tavimor-convert [OPTIONS] [VALUE...]\n"
         "Try 'tavimor-convert --help' for more information.\n";
}

int RunConvert(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  const CommandLineParse parse = SplitCommandLine(args);
  if (parse.Error) {
    err << kProgram << ": " << *parse.Error << '\n' << ConvertUsageHint();
    return kExitUsage;
  }
  if (parse.Line.Help || parse.Line.Version) {
    if (parse.Line.Help) {
      out << ConvertUsage();
    } else {
      out << kProgram << ' ' << kTavimorVersion << '\n';
    }
    out.flush();
    return out ? kExitOk : kExitBadValue;
  }

  ConvertSettings settings;
  // Saved selections are loaded first, so that every other option overrides them.
  if (const auto error = ApplySavedSelectionsOption(parse.Line, settings)) {
    err << kProgram << ": " << *error << '\n';
    return kExitUsage;
  }
  if (const auto error = ApplyOptions(parse.Line, settings)) {
    err << kProgram << ": " << *error << '\n' << ConvertUsageHint();
    return kExitUsage;
  }
  WarnAboutPressure("measured", settings.Measured, err);
  if (settings.ComputeAt) WarnAboutPressure("compute-at", *settings.ComputeAt, err);

  Converter converter(settings, out, err);
  bool anyFailed = false;
  if (!parse.Line.Values.empty()) {
    std::size_t number = 0;
    for (std::string_view value : parse.Line.Values) converter.convert(value, ++number);
    anyFailed = converter.anyFailed();
  } else {
    LineReader reader(in.rdbuf(), out);
    anyFailed = ConvertLines(settings, reader, converter, out, err);
  }
  out.flush();
  if (!out) {
    err << kProgram << ": cannot write the results\n";
    return kExitBadValue;
  }
  return anyFailed ? kExitBadValue : kExitOk;
}

}  // namespace tavimor
