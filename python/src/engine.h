// tavimor._engine: the core's conversions over NumPy arrays, on the path the panel and
// tavimor-convert take, so that every held value is theirs bit for bit. The Python modules
// of the package give it its interface; nothing here is meant to be called directly. One file
// per job: the conversion built from keywords (conversion.cpp), reading and formatting
// values (values.cpp), the steps inside a conversion (steps.cpp), the propagation of
// uncertainties (uncertainty.cpp), the module (module.cpp).
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "request/block_threads.h"
#include "request/conversion_request.h"

namespace tavimor::engine {

namespace py = pybind11;

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Arrays arrive as contiguous native float64 (or uint8): pybind11 copies any other layout,
// byte order or type.
using Column = py::array_t<double, py::array::c_style | py::array::forcecast>;
using Flags = py::array_t<uint8_t, py::array::c_style | py::array::forcecast>;

void AddConversion(py::module_& m);
void AddValues(py::module_& m);
void AddSteps(py::module_& m);
void AddUncertainty(py::module_& m);
void AddScalars(py::module_& m);

// Single values take functions of the C API with fast calls: a bound function's own cost
// (about 200 ns) is most of such a call. Each returns Miss() where the general way, in
// Python, must take the call (an array, an argument it does not know); that way also says
// what is wrong with a bad argument.
using FastFunction = PyObject* (*)(PyObject* const* args, Py_ssize_t count);
PyObject* Miss();

// body() for the C API: C++ exceptions become Python's, and the answer null.
template <class Body>
PyObject* Guarded(const Body& body) {
  try {
    return body();
  } catch (py::error_already_set& e) {
    e.restore();
  } catch (py::builtin_exception& e) {
    e.set_error();
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_RuntimeError, e.what());
  }
  return nullptr;
}

// f as a function of the C API.
template <FastFunction f>
PyObject* FastCall(PyObject*, PyObject* const* args, Py_ssize_t count) {
  return Guarded([&] { return f(args, count); });
}

// Adds functions of the C API, whose table must live as long as the module.
void AddFastFunctions(py::module_& m, PyMethodDef* table);

// The same argument in a call as in an earlier one: the same type and value, compared by
// contents and never by identity alone for what may change (a dict), float by its bits.
// False for anything this cannot tell, so that such a call takes the general way.
bool SameArgument(PyObject* a, PyObject* b);

// A number given as a float or an int (not a bool), or nothing.
std::optional<double> ScalarNumber(PyObject* value);

// How errors= asks for values that give no result.
enum class Errors { Nan, Raise, Reason };
std::optional<Errors> ErrorsOf(PyObject* errors);

// The request of a dict of keywords named as in the request's table (None: the default);
// ValueError or TypeError, in the request's words, for what it refuses.
ConversionRequest RequestOf(const py::dict& keywords);

// Values per thread below which another thread costs more than it saves: each new thread
// fills its own dew-point grid cache first.
inline constexpr std::size_t kMinValuesPerThread = 50000;
// The same for an array's conversion, measured on 2 cores at a load of 1.3
// (bench/python/bench_convert.py): without a search a second thread gains from about 20 000
// values (1.4x at 50 000, 1.8x from 200 000); with one (a dew point, natural gas) its grid
// must be filled first, and it gains from about 400 000 (0.84x at 300 000, 1.1x at 500 000).
inline constexpr std::size_t kMinColumnValuesPerThread = 10000;
inline constexpr std::size_t kMinSearchValuesPerThread = 200000;

int CoreCount();

// Runs body(begin, end) over blocks of [0, n) on up to `threads` threads (0: one per core),
// the way the command runs its blocks, without the GIL, each thread taking at least
// perThread values. body must not touch Python objects.
template <typename Body>
void ForBlocks(std::size_t n, int threads, const Body& body,
               std::size_t perThread = kMinValuesPerThread) {
  std::size_t blocks = 1;
  if (n >= 2 * perThread && threads != 1) {
    if (threads <= 0) threads = CoreCount();
    blocks = std::min<std::size_t>(n / perThread,
                                   static_cast<std::size_t>(std::min(threads, kMaxThreads)));
  }
  py::gil_scoped_release release;
  if (blocks == 1) {
    body(std::size_t{0}, n);
    return;
  }
  BlockThreads pool(static_cast<int>(blocks));
  pool.run(static_cast<int>(blocks), [&](int block) {
    const auto b = static_cast<std::size_t>(block);
    body(n * b / blocks, n * (b + 1) / blocks);
  });
}

}  // namespace tavimor::engine
