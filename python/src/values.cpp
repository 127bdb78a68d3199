// Values in and texts out: numbers from a sequence of texts and numbers, read the way
// tavimor-convert reads a value, and the texts the panel's result field shows.

#include <pybind11/stl.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "core/moisture_conversion.h"
#include "core/moisture_format.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "engine.h"
#include "request/choice_names.h"
#include "request/conversion_request.h"

namespace tavimor::engine {

namespace {

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
  ConversionRequest request;
  if (auto refusal = FieldByKeyword("to_unit")->SetText(request, unitName)) {
    throw py::value_error(
        RefusalMessage(*refusal, "unit", std::string(py::repr(py::str(unitName)))));
  }
  const MoistureUnit unit = *MoistureUnitFromIndex(request.ToUnit);
  const auto n = static_cast<std::size_t>(values.size());
  std::vector<std::string> texts(n);
  const double* in = values.data();
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < n; ++i) {
      const float value = HoldSingle(in[i]);
      texts[i] =
          std::isfinite(value) ? FormatMoistureValue(unit, value) : std::string(kOutOfRangeText);
    }
  }
  return texts;
}

}  // namespace

void AddValues(py::module_& m) {
  m.def("read_values", &ReadValues, py::arg("items"));
  m.def("format", &Format, py::arg("values"), py::arg("unit"));
}

}  // namespace tavimor::engine
