// The steps inside a conversion on their own: saturation vapour pressure and the dew- and
// frost-point searches over columns.

#include <pybind11/stl.h>

#include <string>

#include "core/dew_point.h"
#include "core/saturation.h"
#include "engine.h"
#include "request/conversion_request.h"

namespace tavimor::engine {
namespace {

PhysicsChoice ChoosePhysicsByName(const std::string& formula, const std::string& enhancement) {
  static const RequestField* const kFormula = FieldByKeyword("formula");
  static const RequestField* const kEnhancement = FieldByKeyword("enhancement");
  ConversionRequest request;
  for (const auto& [field, name] : {std::pair{kFormula, &formula}, {kEnhancement, &enhancement}}) {
    if (auto refusal = field->SetText(request, *name)) {
      throw py::value_error(
          RefusalMessage(*refusal, field->Keyword, std::string(py::repr(py::str(*name)))));
    }
  }
  return PhysicsChoice{request.Calc.SwvpFormula, request.Calc.EnhancementFactor,
                       request.Calc.GasMethod};
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
  const FieldRefusal refusal{FieldRefusal::Kind::UnknownName, "surface", "water, ice, auto", {}};
  throw py::value_error(RefusalMessage(refusal, "over", std::string(py::repr(py::str(over)))));
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

}  // namespace

void AddSteps(py::module_& m) {
  m.def("saturation_pressure", &SaturationPressure, py::arg("t_c"), py::arg("pressure"),
        py::arg("formula"), py::arg("enhancement"), py::arg("over"));
  m.def("dew_point", &DewPoint, py::arg("pw_mbar"), py::arg("pressure"), py::arg("formula"),
        py::arg("enhancement"), py::arg("frost"));
}

}  // namespace tavimor::engine
