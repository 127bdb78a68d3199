// The steps inside a conversion on their own: saturation vapour pressure and the dew- and
// frost-point searches, over columns and for single values. A result is NaN where a
// conversion would have none: a value or total pressure that is not a finite number (the
// pressure above 0), a saturation pressure that is not above 0, a search without an answer.

#include <pybind11/stl.h>

#include <cmath>
#include <string>

#include "core/conversion_steps.h"
#include "core/dew_point.h"
#include "core/moisture_conversion.h"
#include "core/saturation.h"
#include "engine.h"
#include "request/conversion_request.h"
#include "request/prepared_conversion.h"

namespace tavimor::engine {
namespace {

enum class Surface { Water, Auto, Ice };

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

Surface SurfaceByName(const std::string& over) {
  if (over == "water") return Surface::Water;
  if (over == "auto") return Surface::Auto;
  if (over == "ice") return Surface::Ice;
  const FieldRefusal refusal{FieldRefusal::Kind::UnknownName, "surface", "water, ice, auto", {}};
  throw py::value_error(RefusalMessage(refusal, "over", std::string(py::repr(py::str(over)))));
}

double SaturationOrNaN(double tC, double pressureMbar, const PhysicsChoice& physics, Surface over) {
  if (!std::isfinite(tC) || !steps::IsUsablePressure(pressureMbar)) return kNaN;
  if (over == Surface::Ice && tC >= 0) return kNaN;
  const double e = over == Surface::Water ? SaturationPressureWater(tC, pressureMbar, physics)
                                          : SaturationPressureDewFrost(tC, pressureMbar, physics);
  return std::isfinite(e) && e > 0 ? e : kNaN;
}

double DewPointOrNaN(double pwMbar, double pressureMbar, const PhysicsChoice& physics, bool frost) {
  if (!std::isfinite(pwMbar) || !steps::IsUsablePressure(pressureMbar)) return kNaN;
  const double t = frost ? DewFrostPointFromPressure(pwMbar, pressureMbar, physics)
                         : DewPointFromPressure(pwMbar, pressureMbar, physics);
  return IsOutOfRange(t) ? kNaN : t;
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
  const Surface surface = SurfaceByName(over);
  return Map2(tempC, pressureMbar,
              [&](double t, double p) { return SaturationOrNaN(t, p, physics, surface); });
}

py::array_t<double> DewPoint(const Column& pwMbar, const Column& pressureMbar,
                             const std::string& formula, const std::string& enhancement,
                             bool frost) {
  const PhysicsChoice physics = ChoosePhysicsByName(formula, enhancement);
  return Map2(pwMbar, pressureMbar,
              [&](double x, double p) { return DewPointOrNaN(x, p, physics, frost); });
}

// The physics of the last names asked for, kept with the names (plain references: an
// object released after the interpreter has ended would crash).
const PhysicsChoice* PhysicsOf(PyObject* formula, PyObject* enhancement) {
  static PyObject* lastFormula = nullptr;
  static PyObject* lastEnhancement = nullptr;
  static PhysicsChoice physics;
  if (!PyUnicode_Check(formula) || !PyUnicode_Check(enhancement)) return nullptr;
  if (lastFormula == nullptr || !SameArgument(formula, lastFormula) ||
      !SameArgument(enhancement, lastEnhancement)) {
    physics = ChoosePhysicsByName(py::handle(formula).cast<std::string>(),
                                  py::handle(enhancement).cast<std::string>());
    Py_XDECREF(lastFormula);
    Py_XDECREF(lastEnhancement);
    lastFormula = Py_NewRef(formula);
    lastEnhancement = Py_NewRef(enhancement);
  }
  return &physics;
}

// One step's answer as errors= asks for it.
PyObject* StepAnswer(PyObject* value, double x, double p, double result, Errors errors) {
  if (!std::isnan(result) || errors == Errors::Nan) {
    if (errors != Errors::Reason) return PyFloat_FromDouble(result);
    return Py_BuildValue("(dO)", result, Py_None);
  }
  const std::string_view reason = std::isnan(x) || std::isnan(p) ? kNotANumber : kOutOfRangeText;
  if (errors == Errors::Raise) {
    PyErr_Format(PyExc_ValueError, "value %R: %s", value, std::string(reason).c_str());
    return nullptr;
  }
  return Py_BuildValue(
      "(dN)", result,
      PyUnicode_FromStringAndSize(reason.data(), static_cast<Py_ssize_t>(reason.size())));
}

// saturation_one(t_c, pressure, formula, enhancement, over, errors)
PyObject* SaturationOne(PyObject* const* args, Py_ssize_t count) {
  static PyObject* const kWater = PyUnicode_InternFromString("water");
  static PyObject* const kAuto = PyUnicode_InternFromString("auto");
  static PyObject* const kIce = PyUnicode_InternFromString("ice");
  if (count != 6) return Py_NewRef(Miss());
  const auto t = ScalarNumber(args[0]);
  const auto p = ScalarNumber(args[1]);
  const auto errors = ErrorsOf(args[5]);
  Surface over;
  if (SameArgument(args[4], kWater)) {
    over = Surface::Water;
  } else if (SameArgument(args[4], kAuto)) {
    over = Surface::Auto;
  } else if (SameArgument(args[4], kIce)) {
    over = Surface::Ice;
  } else {
    return Py_NewRef(Miss());
  }
  if (!t || !p || !errors) return Py_NewRef(Miss());
  const PhysicsChoice* physics = PhysicsOf(args[2], args[3]);
  if (physics == nullptr) return Py_NewRef(Miss());
  return StepAnswer(args[0], *t, *p, SaturationOrNaN(*t, *p, *physics, over), *errors);
}

// dew_point_one(pw_mbar, pressure, formula, enhancement, frost, errors)
PyObject* DewPointOne(PyObject* const* args, Py_ssize_t count) {
  if (count != 6) return Py_NewRef(Miss());
  const auto x = ScalarNumber(args[0]);
  const auto p = ScalarNumber(args[1]);
  const auto errors = ErrorsOf(args[5]);
  if (!x || !p || !errors) return Py_NewRef(Miss());
  const PhysicsChoice* physics = PhysicsOf(args[2], args[3]);
  if (physics == nullptr) return Py_NewRef(Miss());
  const bool frost = args[4] == Py_True;
  return StepAnswer(args[0], *x, *p, DewPointOrNaN(*x, *p, *physics, frost), *errors);
}

PyMethodDef kFunctions[] = {
    {"saturation_one",
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<SaturationOne>)),
     METH_FASTCALL,
     "saturation_one($module, t_c, pressure, formula, enhancement, over, errors, "
     "/)\n--\n\ntavimor.saturation_pressure of one number, or MISS."},
    {"dew_point_one",
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<DewPointOne>)),
     METH_FASTCALL,
     "dew_point_one($module, pw_mbar, pressure, formula, enhancement, frost, errors, "
     "/)\n--\n\ntavimor.dew_point or frost_point of one number, or MISS."},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

void AddSteps(py::module_& m) {
  m.def("saturation_pressure", &SaturationPressure, py::arg("t_c"), py::arg("pressure"),
        py::arg("formula"), py::arg("enhancement"), py::arg("over"));
  m.def("dew_point", &DewPoint, py::arg("pw_mbar"), py::arg("pressure"), py::arg("formula"),
        py::arg("enhancement"), py::arg("frost"));
  AddFastFunctions(m, kFunctions);
}

}  // namespace tavimor::engine
