// The conversion the Python package's Settings stand for: a request read from keywords by the
// names of the request's table, prepared once, and its conversions of columns.

#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "conversion.h"
#include "core/formula_spread.h"
#include "core/moisture_format.h"
#include "core/saturation.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "engine.h"
#include "request/array_conversion.h"
#include "request/conversion_request.h"
#include "request/prepared_conversion.h"
#include "store/profile_store.h"
#include "store/saved_selections.h"

namespace tavimor::engine {
namespace {

// A keyword's value as the request's table takes it: a name as text, anything else as a
// number. The message of a refusal names the keyword as the user wrote it.
void SetFromPython(ConversionRequest& request, const RequestField& field, const py::handle& value,
                   NumberCheck check) {
  std::optional<FieldRefusal> refusal;
  if (PyUnicode_Check(value.ptr())) {
    Py_ssize_t size = 0;
    const char* text = PyUnicode_AsUTF8AndSize(value.ptr(), &size);
    if (text == nullptr) throw py::error_already_set();
    refusal = field.SetText(request, std::string_view(text, static_cast<std::size_t>(size)));
  } else if (field.SetNumber == nullptr) {
    refusal = field.SetText(request, value.cast<std::string>());
  } else {
    refusal = field.SetNumber(request, value.cast<double>(), check);
  }
  if (refusal) {
    const std::string name = field.Key.empty()
                                 ? std::string(field.Keyword)
                                 : std::string(field.Keyword) + ": " + std::string(field.Key);
    const py::object quoted =
        refusal->Part ? py::str(*refusal->Part) : py::reinterpret_borrow<py::object>(value);
    throw py::value_error(RefusalMessage(*refusal, name, std::string(py::repr(quoted))));
  }
}

// A name as an interned Python string, made once for the life of the interpreter (never
// released: the module cannot be unloaded).
PyObject* Interned(std::string_view name) {
  return PyUnicode_InternFromString(std::string(name).c_str());
}

}  // namespace

// The request of a dict of keywords named as in the request's table (None: the default),
// applied in the table's order. A keyword with keys (from_params, to_params) takes a dict (a
// Params' own fields; None: the default); with "_saved": True its numbers are taken as stored, as
// read from saved selections, not checked as typed.
ConversionRequest RequestOf(const py::dict& keywords) {
  struct Name {
    PyObject* Keyword;
    PyObject* Key;
  };
  static const std::vector<Name> kNames = [] {
    std::vector<Name> names;
    for (const RequestField& field : RequestFields()) {
      names.push_back({Interned(field.Keyword), Interned(field.Key)});
    }
    return names;
  }();
  static PyObject* const kSaved = Interned("_saved");
  ConversionRequest request;
  std::size_t found = 0;
  std::string_view lastKeyword;
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const RequestField& field = RequestFields()[i];
    if (field.Keyword.empty()) continue;
    PyObject* value = PyDict_GetItem(keywords.ptr(), kNames[i].Keyword);
    if (value == nullptr) continue;
    if (field.Keyword != lastKeyword) ++found;
    lastKeyword = field.Keyword;
    NumberCheck check = NumberCheck::AsTyped;
    if (!field.Key.empty()) {
      if (value == Py_None) continue;
      if (!PyDict_Check(value))
        throw py::type_error(std::string(field.Keyword) + " must be a dict");
      PyObject* saved = PyDict_GetItem(value, kSaved);
      if (saved != nullptr && PyObject_IsTrue(saved) == 1) check = NumberCheck::AsSaved;
      value = PyDict_GetItem(value, kNames[i].Key);
      if (value == nullptr) continue;
    }
    if (value != Py_None) SetFromPython(request, field, py::handle(value), check);
  }
  if (found != keywords.size()) {
    for (const auto& [keyword, value] : keywords) {
      const auto name = keyword.cast<std::string>();
      const auto fields = RequestFields();
      if (std::none_of(fields.begin(), fields.end(),
                       [&](const RequestField& field) { return field.Keyword == name; })) {
        throw py::type_error("unknown keyword " + std::string(py::repr(keyword)));
      }
    }
  }
  if (const auto unmet = UnmetNeedOf(request)) {
    throw py::value_error(NeedsMessage(unmet->Given->Keyword, unmet->Needed->Keyword));
  }
  return request;
}

Conversion::Conversion(const py::dict& keywords)
    : m_request(RequestOf(keywords)),
      m_inputs(InputsOf(m_request)),
      m_conversion(m_inputs, m_request.Calc) {}

PreparedConversion Conversion::with(std::optional<double> increment, bool raw) const {
  ConversionRequest request = m_request;
  if (increment) request.Increment = HoldSingle(*increment);
  request.Raw = raw;
  return PreparedConversion(request);
}

const MoistureConversion& Conversion::withIncrement(float increment) const {
  if (!m_lastIncrement || std::memcmp(&m_lastIncrement->first, &increment, sizeof increment) != 0) {
    MoistureInputs inputs = m_inputs;
    inputs.Increment = increment;
    m_lastIncrement.emplace(increment, MoistureConversion(inputs, m_request.Calc));
  }
  return m_lastIncrement->second;
}

Converted Conversion::one(double number, std::optional<double> increment, bool shown) const {
  Converted out;
  const float value = HoldSingle(number);
  out.Outside = FromValueRangeMessage(m_request.FromUnit, value).has_value();
  if (out.Outside) return out;
  const MoistureConversion& conversion =
      increment ? withIncrement(HoldSingle(*increment)) : m_conversion;
  const MoistureValues m = conversion.values(value);
  const auto toUnit = MoistureUnitFromIndex(m_request.ToUnit);
  // A valid result or delta implies a To unit.
  if (m.ResultValid) {
    out.Result = shown ? ShownNumber(FormatMoistureValue(*toUnit, m.Result)) : m.Result;
  }
  if (m.DeltaValid) {
    out.Delta = shown ? ShownNumber(FormatMoistureValue(*toUnit, m.Delta)) : m.Delta;
  }
  return out;
}

py::tuple Conversion::convert(const Column& values, std::optional<double> increment, bool shown,
                              int threads) const {
  const auto n = static_cast<std::size_t>(values.size());
  py::array_t<double> result(static_cast<py::ssize_t>(n));
  py::array_t<double> delta(increment ? static_cast<py::ssize_t>(n) : 0);
  py::array_t<uint8_t> status(static_cast<py::ssize_t>(n));
  const double* in = values.data();
  double* r = result.mutable_data();
  double* d = delta.mutable_data();
  uint8_t* s = status.mutable_data();
  const auto toUnit = MoistureUnitFromIndex(m_request.ToUnit);
  const std::size_t perThread = searches() ? kMinSearchValuesPerThread : kMinColumnValuesPerThread;
  if (!increment) {
    // The results alone: the column path, then the shown numbers where asked for.
    ForBlocks(
        n, threads,
        [&](std::size_t begin, std::size_t end) {
          const std::size_t count = end - begin;
          m_conversion.convertColumn({in + begin, count}, {r + begin, count}, {s + begin, count});
          if (!shown) return;
          for (std::size_t i = begin; i < end; ++i) {
            if (!std::isnan(r[i])) {
              r[i] = ShownNumber(FormatMoistureValue(*toUnit, static_cast<float>(r[i])));
            }
          }
        },
        perThread);
    return py::make_tuple(result, py::none(), status);
  }
  // A copy: another Python thread may ask for another increment while this one converts.
  const MoistureConversion conversion = withIncrement(HoldSingle(*increment));
  ForBlocks(
      n, threads,
      [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
          const float value = HoldSingle(in[i]);
          const bool outside = FromValueRangeMessage(m_request.FromUnit, value).has_value();
          s[i] = outside ? 1 : 0;
          r[i] = kNaN;
          d[i] = kNaN;
          if (outside) continue;
          const MoistureValues m = conversion.values(value);
          if (m.ResultValid) {
            r[i] = shown ? ShownNumber(FormatMoistureValue(*toUnit, m.Result)) : m.Result;
          }
          if (m.DeltaValid) {
            d[i] = shown ? ShownNumber(FormatMoistureValue(*toUnit, m.Delta)) : m.Delta;
          }
        }
      },
      perThread);
  return py::make_tuple(result, delta, status);
}

// A column's spread across the formula and enhancement choices: (results, n x 12 in the
// order of kPhysicsCombinations, min, max, the combination giving each, status as convert
// gives it). NaN and combination -1 where there is no answer.
py::tuple Conversion::spread(const Column& values, bool shown, int threads) const {
  const auto n = static_cast<std::size_t>(values.size());
  constexpr std::size_t k = kPhysicsCombinationCount;
  const auto rows = static_cast<py::ssize_t>(n);
  py::array_t<double> results(std::vector<py::ssize_t>{rows, static_cast<py::ssize_t>(k)});
  py::array_t<double> low(rows);
  py::array_t<double> high(rows);
  py::array_t<int64_t> lowAt(rows);
  py::array_t<int64_t> highAt(rows);
  py::array_t<uint8_t> status(rows);
  const SpreadColumns<int64_t> out{results.mutable_data(), low.mutable_data(),
                                   high.mutable_data(),    lowAt.mutable_data(),
                                   highAt.mutable_data(),  status.mutable_data()};
  ForBlocks(n, threads, [&](std::size_t begin, std::size_t end) {
    SpreadRows(values.data(), begin, end, m_inputs, m_request.Calc, m_request.ToUnit, shown, out);
  });
  return py::make_tuple(results, low, high, lowAt, highAt, status);
}

// tavimor-convert's output lines for a column; notNumber[i] != 0 marks a value read from a
// text without a number.
std::vector<std::string> Conversion::lines(const Column& values,
                                           const std::optional<Flags>& notNumber,
                                           std::optional<double> increment, bool raw,
                                           int threads) const {
  const auto n = static_cast<std::size_t>(values.size());
  if (notNumber && static_cast<std::size_t>(notNumber->size()) != n) {
    throw py::value_error("not_number must have one flag per value");
  }
  std::vector<std::string> lines(n);
  const double* in = values.data();
  const uint8_t* failed = notNumber ? notNumber->data() : nullptr;
  const PreparedConversion prepared = with(increment, raw);
  ForBlocks(n, threads, [&](std::size_t begin, std::size_t end) {
    PreparedConversion conversion = prepared;
    for (std::size_t i = begin; i < end; ++i) {
      if ((failed && failed[i]) || conversion.convert(HoldSingle(in[i]))) {
        lines[i] = kErrorLine;
      } else {
        conversion.appendLine(lines[i]);
      }
    }
  });
  return lines;
}

bool Conversion::searches() const {
  using U = MoistureUnit;
  const auto to = MoistureUnitFromIndex(m_request.ToUnit);
  return to == U::DewFrostPointC || to == U::DewFrostPointF || to == U::DewPointC ||
         to == U::DewPointF ||
         NaturalGasOverride(m_request.Calc, m_request.FromUnit, m_request.ToUnit);
}

std::optional<std::string_view> Conversion::rangeText() const {
  const auto unit = MoistureUnitFromIndex(m_request.FromUnit);
  if (!unit) return std::nullopt;
  const auto& range = kMoistureUnits[static_cast<std::size_t>(*unit)].Range;
  if (!range) return std::nullopt;
  return range->Message;
}

float Conversion::measuredMbar() const {
  return ReadPressureMbar(m_inputs.MeasuredPressure, m_inputs.MeasuredPressureUnit);
}

float Conversion::computeMbar() const {
  return ReadPressureMbar(m_inputs.ComputePressure, m_inputs.ComputePressureUnit);
}

namespace {

py::object ToPython(const FieldValue& value) {
  return std::visit(
      [](const auto& v) -> py::object {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return py::none();
        } else {
          return py::cast(v);
        }
      },
      value);
}

// The keywords of a request, by the names of the request's table: mappings for keywords
// with keys.
py::dict KeywordsOf(const ConversionRequest& request) {
  py::dict keywords;
  for (const RequestField& field : RequestFields()) {
    if (field.Keyword.empty()) continue;
    const py::str keyword(std::string(field.Keyword));
    if (field.Key.empty()) {
      keywords[keyword] = ToPython(field.Get(request));
      continue;
    }
    if (!keywords.contains(keyword)) keywords[keyword] = py::dict();
    const py::dict mapping = keywords[keyword];
    mapping[py::str(std::string(field.Key))] = ToPython(field.Get(request));
  }
  return keywords;
}

// The saved selections of a settings file (its path as bytes): (keywords, the keys whose
// value its dialog refuses and which took the default, why the file cannot be read or "").
py::tuple ReadSelections(const py::bytes& path) {
  const ProfileFile file = ReadProfileFile(std::filesystem::path(std::string(path)));
  ConversionRequest request;
  std::vector<std::string> replaced;
  if (file.Status == ProfileFileStatus::Ok) {
    for (const std::string_view key :
         ApplySavedSelections(ProfileReaderForText(file.Bytes), request)) {
      replaced.emplace_back(key);
    }
  }
  return py::make_tuple(KeywordsOf(request), replaced, file.Error);
}

// (keyword, key, option, default) for each field of the request: what the package's
// keywords and tavimor-convert's options reach, and the default of both.
py::tuple Fields() {
  const ConversionRequest defaults;
  py::list rows;
  for (const RequestField& field : RequestFields()) {
    rows.append(py::make_tuple(std::string(field.Keyword), std::string(field.Key),
                               std::string(field.Option), ToPython(field.Get(defaults))));
  }
  return py::tuple(rows);
}

}  // namespace

void AddConversion(py::module_& m) {
  py::class_<Conversion>(m, "Conversion")
      .def(py::init<const py::dict&>(), py::arg("keywords"))
      .def("convert", &Conversion::convert, py::arg("values"), py::arg("increment"),
           py::arg("shown"), py::arg("threads"))
      .def("spread", &Conversion::spread, py::arg("values"), py::arg("shown"), py::arg("threads"))
      .def("lines", &Conversion::lines, py::arg("values"), py::arg("not_number"),
           py::arg("increment"), py::arg("raw"), py::arg("threads"))
      .def_property_readonly("range_text", &Conversion::rangeText)
      .def_property_readonly("measured_mbar", &Conversion::measuredMbar)
      .def_property_readonly("compute_mbar", &Conversion::computeMbar);
  m.def("read_saved_selections", &ReadSelections, py::arg("path"));
  m.attr("FIELDS") = Fields();
}

}  // namespace tavimor::engine
