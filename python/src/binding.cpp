// tavimor._engine: the core's conversions over NumPy arrays, on the path the panel and
// tavimor-convert take, so that every held value is theirs bit for bit. The Python modules
// of the package give it its interface; nothing here is meant to be called directly.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "core/calc_settings.h"
#include "core/choice_names.h"
#include "core/dew_point.h"
#include "core/formula_spread.h"
#include "core/moisture_conversion.h"
#include "core/moisture_format.h"
#include "core/number_text.h"
#include "core/saturation.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "store/saved_selections.h"

namespace py = pybind11;

namespace tavimor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Arrays arrive as contiguous native float64 (or uint8): pybind11 copies any other layout,
// byte order or type.
using Column = py::array_t<double, py::array::c_style | py::array::forcecast>;
using Flags = py::array_t<uint8_t, py::array::c_style | py::array::forcecast>;

// Values per thread below which another thread costs more than it saves: each new thread
// fills its own dew-point grid cache first.
constexpr std::size_t kMinValuesPerThread = 50000;
constexpr int kMaxThreads = 64;

// Runs body(begin, end) over blocks of [0, n), on up to `threads` threads (0: one per
// core), without the GIL. body must not touch Python objects.
template <typename Body>
void ForBlocks(std::size_t n, int threads, const Body& body) {
  std::size_t blocks = 1;
  if (n >= 2 * kMinValuesPerThread && threads != 1) {
    // Asking for the cores reads a file; once is enough.
    static const int kCores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (threads <= 0) threads = kCores;
    blocks = std::min<std::size_t>(n / kMinValuesPerThread,
                                   static_cast<std::size_t>(std::min(threads, kMaxThreads)));
  }
  py::gil_scoped_release release;
  if (blocks == 1) {
    body(std::size_t{0}, n);
    return;
  }
  std::exception_ptr error;
  std::mutex errorMutex;
  const auto run = [&](std::size_t begin, std::size_t end) {
    try {
      body(begin, end);
    } catch (...) {
      const std::lock_guard lock(errorMutex);
      if (!error) error = std::current_exception();
    }
  };
  std::vector<std::thread> workers;
  workers.reserve(blocks - 1);
  for (std::size_t b = 1; b < blocks; ++b) {
    const std::size_t begin = n * b / blocks;
    const std::size_t end = n * (b + 1) / blocks;
    try {
      workers.emplace_back(run, begin, end);
    } catch (const std::system_error&) {
      run(begin, end);  // no thread to be had: this one does the block
    }
  }
  run(0, n / blocks);
  for (std::thread& worker : workers) worker.join();
  if (error) std::rethrow_exception(error);
}

template <typename T, std::size_t N>
std::string NameList(const std::array<NamedChoice<T>, N>& choices) {
  std::string list;
  for (const auto& choice : choices) {
    if (!list.empty()) list += ", ";
    list += choice.Name;
  }
  return list;
}

template <typename T, std::size_t N>
std::string_view NameOf(T value, const std::array<NamedChoice<T>, N>& choices) {
  for (const auto& choice : choices) {
    if (choice.Value == value) return choice.Name;
  }
  return choices[0].Name;
}

std::string MoistureUnitList() {
  std::string list;
  for (std::string_view name : kMoistureUnitNames) {
    if (!list.empty()) list += ", ";
    list += name;
  }
  return list;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string PressureUnitList() {
  std::string list;
  for (const PressureUnitRow& row : kPressureUnits) {
    if (!list.empty()) list += ", ";
    list += LowerAscii(row.Name);
  }
  return list;
}

[[noreturn]] void Refuse(std::string_view what, const std::string& name,
                         const std::string& allowed) {
  throw py::value_error("unknown " + std::string(what) + " '" + name + "': expected one of " +
                        allowed);
}

template <typename T, std::size_t N>
T Choose(std::string_view what, const std::string& name,
         const std::array<NamedChoice<T>, N>& choices) {
  if (const auto value = ParseChoice(name, choices)) return *value;
  Refuse(what, name, NameList(choices));
}

int ChooseMoistureUnit(const std::string& name) {
  if (const auto unit = ParseMoistureUnit(name)) return *unit;
  Refuse("unit", name, MoistureUnitList() + " (or an index 0 to 10)");
}

int ChoosePressureUnit(const std::string& name) {
  if (const auto unit = ParsePressureUnit(name)) return *unit;
  Refuse("pressure unit", name, PressureUnitList() + " (or an index 0 to 4)");
}

// One side's parameters from Python: mw, k, ambient, medium, vapor_temp (None: the
// program's default) and whether they were read from saved selections, which the program
// takes as stored, or typed, which it checks as the dialogs do.
using SideTuple = std::tuple<std::optional<double>, std::optional<double>, std::optional<double>,
                             std::optional<std::string>, std::optional<double>, bool>;

void ApplySide(std::string_view sideName, const SideTuple& input, SideParams& side) {
  const auto& [mw, k, ambient, medium, vaporTemp, saved] = input;
  if (medium) side.DensityMedium = Choose("medium", *medium, kMediumNames);
  struct Number {
    const std::optional<double>& Value;
    TypedParam Param;
    float SideParams::*Field;
    const char* Key;
    const char* Expected;
  };
  const Number numbers[] = {
      {mw, TypedParam::MolWeight, &SideParams::MolWeight, "mw", "a number above 0"},
      {k, TypedParam::HenryK, &SideParams::HenryK, "k", "a number above 0"},
      {ambient, TypedParam::AmbientTempC, &SideParams::AmbientTempC, "ambient",
       "a temperature above -80 and below 200 (°C)"},
      {vaporTemp, TypedParam::VaporTempC, &SideParams::VaporTempC, "vapor_temp",
       "a temperature above -80 and below 200 (°C)"},
  };
  for (const Number& n : numbers) {
    if (!n.Value) continue;
    const float value = HoldSingle(*n.Value);
    if (saved) {
      side.*n.Field = value;
    } else if (!SetTypedParam(side, n.Param, value)) {
      throw py::value_error(std::string(sideName) + ": " + n.Key + " must be " + n.Expected +
                            ", not " + std::string(py::repr(py::float_(*n.Value))));
    }
  }
}

// A conversion's settings as the command holds them after its options: the panel's inputs
// without the From value.
struct Job {
  CalcSettings Calc;
  MoistureInputs Inputs;
};

Job MakeJob(const std::string& fromUnit, const std::string& toUnit, double measured,
            const std::string& measuredUnit, std::optional<double> computeAt,
            const std::optional<std::string>& computeAtUnit, const std::string& formula,
            const std::string& enhancement, const std::string& gasMethod,
            const SideTuple& fromParams, const SideTuple& toParams) {
  Job job;
  job.Inputs.FromUnit = ChooseMoistureUnit(fromUnit);
  job.Inputs.FromListSelection = job.Inputs.FromUnit;
  job.Inputs.ToListSelection = ChooseMoistureUnit(toUnit);
  job.Inputs.MeasuredPressure = HoldSingle(measured);
  job.Inputs.MeasuredPressureUnit = ChoosePressureUnit(measuredUnit);
  if (computeAt) {
    job.Inputs.ComputePressure = HoldSingle(*computeAt);
    job.Inputs.ComputePressureUnit = computeAtUnit ? ChoosePressureUnit(*computeAtUnit) : 0;
  } else if (computeAtUnit) {
    throw py::value_error("compute_at_unit needs compute_at, the pressure to compute at");
  } else {
    job.Inputs.ComputePressure = job.Inputs.MeasuredPressure;
    job.Inputs.ComputePressureUnit = job.Inputs.MeasuredPressureUnit;
  }
  job.Calc.SwvpFormula = Choose("formula", formula, kFormulaNames);
  job.Calc.EnhancementFactor = Choose("enhancement factor", enhancement, kEnhancementNames);
  job.Calc.GasMethod = Choose("gas method", gasMethod, kGasMethodNames);
  ApplySide("from_params", fromParams, job.Calc.From);
  ApplySide("to_params", toParams, job.Calc.To);
  return job;
}

MoistureInputs WithIncrement(const MoistureInputs& inputs, std::optional<double> increment) {
  MoistureInputs with = inputs;
  with.Increment = increment ? HoldSingle(*increment) : 0.0f;
  return with;
}

// The number a result field shows, as a float64.
double ShownNumber(const std::string& text) {
  double value = kNaN;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// One value converted: the result and delta (NaN where there is none) and whether the value
// lies outside the From unit's range (NaN included). shown: the numbers the fields show
// instead of the held values.
struct Converted {
  double Result = kNaN;
  double Delta = kNaN;
  bool Outside = false;
};

Converted ConvertValue(const MoistureConversion& conversion, int fromUnit, double number,
                       bool shown) {
  Converted out;
  const float value = HoldSingle(number);
  out.Outside = FromValueRangeMessage(fromUnit, value).has_value();
  if (out.Outside) return out;
  if (shown) {
    const MoistureResults m = conversion.results(value);
    if (m.ResultValid) out.Result = ShownNumber(m.ResultText);
    if (m.DeltaValid) out.Delta = ShownNumber(m.DeltaText);
  } else {
    const MoistureValues m = conversion.values(value);
    if (m.ResultValid) out.Result = m.Result;
    if (m.DeltaValid) out.Delta = m.Delta;
  }
  return out;
}

// A column converted: (results, deltas or None without an increment, status), status 1
// where the value lies outside the From unit's range and 0 where it was converted.
py::tuple Convert(const Job& job, const Column& values, std::optional<double> increment, bool shown,
                  int threads) {
  const auto n = static_cast<std::size_t>(values.size());
  py::array_t<double> result(static_cast<py::ssize_t>(n));
  py::array_t<double> delta(increment ? static_cast<py::ssize_t>(n) : 0);
  py::array_t<uint8_t> status(static_cast<py::ssize_t>(n));
  const double* in = values.data();
  double* r = result.mutable_data();
  double* d = delta.mutable_data();
  uint8_t* s = status.mutable_data();
  const MoistureInputs inputs = WithIncrement(job.Inputs, increment);
  ForBlocks(n, threads, [&](std::size_t begin, std::size_t end) {
    const MoistureConversion conversion(inputs, job.Calc);
    for (std::size_t i = begin; i < end; ++i) {
      const Converted c = ConvertValue(conversion, inputs.FromUnit, in[i], shown);
      r[i] = c.Result;
      if (increment) d[i] = c.Delta;
      s[i] = c.Outside ? 1 : 0;
    }
  });
  return py::make_tuple(result, increment ? py::object(delta) : py::none(), status);
}

// One value: (result, delta or None, status) as Convert gives them for a column.
py::tuple ConvertOne(const Job& job, double number, std::optional<double> increment, bool shown) {
  const MoistureInputs inputs = WithIncrement(job.Inputs, increment);
  const Converted c =
      ConvertValue(MoistureConversion(inputs, job.Calc), inputs.FromUnit, number, shown);
  return py::make_tuple(c.Result, increment ? py::object(py::float_(c.Delta)) : py::none(),
                        c.Outside ? 1 : 0);
}

// A column's spread across the formula and enhancement choices: (results, n x 12 in the
// order of kPhysicsCombinations, min, max, the combination giving each, status as Convert
// gives it). NaN and combination -1 where there is no answer.
py::tuple Spread(const Job& job, const Column& values, bool shown, int threads) {
  const auto n = static_cast<std::size_t>(values.size());
  constexpr std::size_t k = kPhysicsCombinationCount;
  const auto rows = static_cast<py::ssize_t>(n);
  py::array_t<double> results(std::vector<py::ssize_t>{rows, static_cast<py::ssize_t>(k)});
  py::array_t<double> low(rows);
  py::array_t<double> high(rows);
  py::array_t<int64_t> lowAt(rows);
  py::array_t<int64_t> highAt(rows);
  py::array_t<uint8_t> status(rows);
  const double* in = values.data();
  double* r = results.mutable_data();
  double* lo = low.mutable_data();
  double* hi = high.mutable_data();
  int64_t* loAt = lowAt.mutable_data();
  int64_t* hiAt = highAt.mutable_data();
  uint8_t* s = status.mutable_data();
  const MoistureUnit toUnit = *MoistureUnitFromIndex(job.Inputs.ToListSelection);
  const auto number = [&](float v) {
    if (v == static_cast<float>(OutOfRange)) return kNaN;
    return shown ? ShownNumber(FormatMoistureValue(toUnit, v)) : static_cast<double>(v);
  };
  ForBlocks(n, threads, [&](std::size_t begin, std::size_t end) {
    MoistureInputs inputs = job.Inputs;
    for (std::size_t i = begin; i < end; ++i) {
      inputs.FromValue = HoldSingle(in[i]);
      const bool outside = FromValueRangeMessage(inputs.FromUnit, inputs.FromValue).has_value();
      s[i] = outside ? 1 : 0;
      const MoistureSpread spread =
          outside ? MoistureSpread{} : ComputeMoistureSpread(inputs, job.Calc);
      for (std::size_t c = 0; c < k; ++c) r[i * k + c] = outside ? kNaN : number(spread.Results[c]);
      lo[i] = spread.Valid ? number(spread.Min) : kNaN;
      hi[i] = spread.Valid ? number(spread.Max) : kNaN;
      loAt[i] = spread.Valid ? static_cast<int64_t>(spread.MinIndex) : -1;
      hiAt[i] = spread.Valid ? static_cast<int64_t>(spread.MaxIndex) : -1;
    }
  });
  return py::make_tuple(results, low, high, lowAt, highAt, status);
}

// tavimor-convert's output lines for a column; notNumber[i] != 0 marks a value read from a
// text without a number.
std::vector<std::string> Lines(const Job& job, const Column& values,
                               const std::optional<Flags>& notNumber,
                               std::optional<double> increment, bool raw, int threads) {
  const auto n = static_cast<std::size_t>(values.size());
  if (notNumber && static_cast<std::size_t>(notNumber->size()) != n) {
    throw py::value_error("not_number must have one flag per value");
  }
  std::vector<std::string> lines(n);
  const double* in = values.data();
  const uint8_t* failed = notNumber ? notNumber->data() : nullptr;
  const MoistureInputs inputs = WithIncrement(job.Inputs, increment);
  ForBlocks(n, threads, [&](std::size_t begin, std::size_t end) {
    const MoistureConversion conversion(inputs, job.Calc);
    for (std::size_t i = begin; i < end; ++i) {
      const float value = HoldSingle(in[i]);
      if ((failed && failed[i]) || FromValueRangeMessage(inputs.FromUnit, value)) {
        lines[i] = kErrorLine;
      } else {
        lines[i] = ConvertedLine(conversion.results(value), raw, increment.has_value());
      }
    }
  });
  return lines;
}

// Numbers from a sequence of texts and numbers: a text is read the way the command reads
// a value; anything else must convert to a float. None and pandas.NA are missing (NaN).
// Returns the values and a flag per value that has no number.
py::tuple ReadValues(const py::sequence& items) {
  const auto n = static_cast<py::ssize_t>(items.size());
  py::array_t<double> values(n);
  py::array_t<uint8_t> notNumber(n);
  double* v = values.mutable_data();
  uint8_t* bad = notNumber.mutable_data();
  for (py::ssize_t i = 0; i < n; ++i) {
    const py::object item = items[static_cast<std::size_t>(i)];
    v[i] = kNaN;
    bad[i] = 0;
    if (item.is_none()) continue;
    if (py::isinstance<py::str>(item) || py::isinstance<py::bytes>(item)) {
      const std::string text = py::isinstance<py::str>(item) ? item.cast<std::string>()
                                                             : std::string(item.cast<py::bytes>());
      if (const auto number = ReadNumberIfAny(text)) {
        v[i] = *number;
      } else {
        bad[i] = 1;
      }
      continue;
    }
    const double number = PyFloat_AsDouble(item.ptr());
    if (number == -1.0 && PyErr_Occurred()) {
      PyErr_Clear();
      // pandas' missing value in columns of nullable types is missing here too.
      bad[i] = std::string_view(Py_TYPE(item.ptr())->tp_name).ends_with("NAType") ? 0 : 1;
    } else {
      v[i] = number;
    }
  }
  return py::make_tuple(values, notNumber);
}

std::vector<std::string> Format(const Column& values, const std::string& unitName) {
  const auto unit = MoistureUnitFromIndex(ChooseMoistureUnit(unitName));
  const auto n = static_cast<std::size_t>(values.size());
  std::vector<std::string> texts(n);
  const double* in = values.data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      const float value = HoldSingle(in[i]);
      texts[i] =
          std::isfinite(value) ? FormatMoistureValue(*unit, value) : std::string(kOutOfRangeText);
    }
  }
  return texts;
}

PhysicsChoice ChoosePhysicsByName(const std::string& formula, const std::string& enhancement) {
  PhysicsChoice physics;
  physics.SwvpFormula = Choose("formula", formula, kFormulaNames);
  physics.EnhancementFactor = Choose("enhancement factor", enhancement, kEnhancementNames);
  return physics;
}

// f(a[i], b[i]) for two columns of the same length, without the GIL.
template <typename F>
py::array_t<double> Map2(const Column& a, const Column& b, const F& f) {
  const auto n = static_cast<std::size_t>(a.size());
  if (static_cast<std::size_t>(b.size()) != n) throw py::value_error("columns differ in length");
  py::array_t<double> out(static_cast<py::ssize_t>(n));
  const double* x = a.data();
  const double* y = b.data();
  double* o = out.mutable_data();
  py::gil_scoped_release release;
  for (std::size_t i = 0; i < n; ++i) o[i] = f(x[i], y[i]);
  return out;
}

py::array_t<double> SaturationPressure(const Column& tempC, const Column& pressureMbar,
                                       const std::string& formula, const std::string& enhancement,
                                       const std::string& over) {
  const PhysicsChoice physics = ChoosePhysicsByName(formula, enhancement);
  if (over == "water") {
    return Map2(tempC, pressureMbar,
                [&](double t, double p) { return SaturationPressureWater(t, p, physics); });
  }
  if (over == "auto") {
    return Map2(tempC, pressureMbar,
                [&](double t, double p) { return SaturationPressureDewFrost(t, p, physics); });
  }
  if (over == "ice") {
    return Map2(tempC, pressureMbar, [&](double t, double p) {
      return t < 0 ? SaturationPressureDewFrost(t, p, physics) : kNaN;
    });
  }
  throw py::value_error("unknown surface '" + over + "': expected one of water, ice, auto");
}

py::array_t<double> DewPoint(const Column& pwMbar, const Column& pressureMbar,
                             const std::string& formula, const std::string& enhancement,
                             bool frost) {
  const PhysicsChoice physics = ChoosePhysicsByName(formula, enhancement);
  return Map2(pwMbar, pressureMbar, [&](double x, double p) {
    const double t =
        frost ? DewFrostPointFromPressure(x, p, physics) : DewPointFromPressure(x, p, physics);
    return IsOutOfRange(t) ? kNaN : t;
  });
}

// The saved selections of a settings file, by the names Settings takes.
py::dict ReadSelections(const std::string& path) {
  PanelSelections saved;
  CalcSettings calc;
  ReadSavedSelections(ProfileReaderForFile(std::filesystem::path(path)), saved, calc);
  const auto unitName = [](int index) {
    return std::string(kMoistureUnitNames[static_cast<std::size_t>(index)]);
  };
  const auto pressureName = [](int index) {
    return LowerAscii(kPressureUnits[static_cast<std::size_t>(index)].Name);
  };
  const auto side = [](const SideParams& p) {
    return py::make_tuple(p.MolWeight, p.HenryK, p.AmbientTempC,
                          std::string(NameOf(p.DensityMedium, kMediumNames)), p.VaporTempC);
  };
  py::dict d;
  d["from_unit"] = unitName(saved.FromUnit);
  d["to_unit"] = unitName(saved.ToUnit);
  d["measured"] = saved.MeasuredPressure;
  d["measured_unit"] = pressureName(saved.MeasuredPressureUnit);
  if (saved.PressureChoice == kComputeAtMeasured) {
    d["compute_at"] = py::none();
    d["compute_at_unit"] = py::none();
  } else {
    d["compute_at"] = saved.ComputePressure;
    d["compute_at_unit"] = pressureName(saved.ComputePressureUnit);
  }
  d["formula"] = std::string(NameOf(calc.SwvpFormula, kFormulaNames));
  d["enhancement"] = std::string(NameOf(calc.EnhancementFactor, kEnhancementNames));
  d["gas_method"] = std::string(NameOf(calc.GasMethod, kGasMethodNames));
  d["from_params"] = side(calc.From);
  d["to_params"] = side(calc.To);
  return d;
}

template <typename T, std::size_t N>
py::tuple Names(const std::array<NamedChoice<T>, N>& choices) {
  py::list names;
  for (const auto& choice : choices) names.append(std::string(choice.Name));
  return py::tuple(names);
}

}  // namespace
}  // namespace tavimor

PYBIND11_MODULE(_engine, m) {
  using namespace tavimor;
  m.doc() = "Tavimor's conversion engine; use the functions of the tavimor package.";

  py::class_<Job>(m, "Job")
      .def(py::init(&MakeJob), py::arg("from_unit"), py::arg("to_unit"), py::arg("measured"),
           py::arg("measured_unit"), py::arg("compute_at"), py::arg("compute_at_unit"),
           py::arg("formula"), py::arg("enhancement"), py::arg("gas_method"),
           py::arg("from_params"), py::arg("to_params"))
      .def("convert", &Convert, py::arg("values"), py::arg("increment"), py::arg("shown"),
           py::arg("threads"))
      .def("convert_one", &ConvertOne, py::arg("value"), py::arg("increment"), py::arg("shown"))
      .def("spread", &Spread, py::arg("values"), py::arg("shown"), py::arg("threads"))
      .def("lines", &Lines, py::arg("values"), py::arg("not_number"), py::arg("increment"),
           py::arg("raw"), py::arg("threads"))
      .def("range_message",
           [](const Job& job, double value) -> std::optional<std::string> {
             const auto message = FromValueRangeMessage(job.Inputs.FromUnit, HoldSingle(value));
             if (!message) return std::nullopt;
             return std::string(*message);
           })
      .def_property_readonly("measured_mbar",
                             [](const Job& job) {
                               return ReadPressureMbar(job.Inputs.MeasuredPressure,
                                                       job.Inputs.MeasuredPressureUnit);
                             })
      .def_property_readonly("compute_mbar", [](const Job& job) {
        return ReadPressureMbar(job.Inputs.ComputePressure, job.Inputs.ComputePressureUnit);
      });

  m.def("read_values", &ReadValues, py::arg("items"));
  m.def("format", &Format, py::arg("values"), py::arg("unit"));
  m.def("saturation_pressure", &SaturationPressure, py::arg("t_c"), py::arg("pressure"),
        py::arg("formula"), py::arg("enhancement"), py::arg("over"));
  m.def("dew_point", &DewPoint, py::arg("pw_mbar"), py::arg("pressure"), py::arg("formula"),
        py::arg("enhancement"), py::arg("frost"));
  m.def("read_saved_selections", &ReadSelections, py::arg("path"));

  std::vector<std::string> units(kMoistureUnitNames.begin(), kMoistureUnitNames.end());
  std::vector<std::string> pressureUnits;
  for (const PressureUnitRow& row : kPressureUnits) pressureUnits.push_back(LowerAscii(row.Name));
  m.attr("UNITS") = py::tuple(py::cast(units));
  m.attr("PRESSURE_UNITS") = py::tuple(py::cast(pressureUnits));
  m.attr("FORMULAS") = Names(kFormulaNames);
  m.attr("ENHANCEMENTS") = Names(kEnhancementNames);
  m.attr("GAS_METHODS") = Names(kGasMethodNames);
  m.attr("MEDIA") = Names(kMediumNames);
  py::list combinations;
  for (const PhysicsCombination& c : kPhysicsCombinations) {
    combinations.append(
        py::make_tuple(std::string(NameOf(c.SwvpFormula, kFormulaNames)),
                       std::string(NameOf(c.EnhancementFactor, kEnhancementNames))));
  }
  m.attr("COMBINATIONS") = py::tuple(combinations);
}
