// Single values, fast: the conversion of a call's units and options is looked up in a small
// cache instead of being decided again, and the call goes through the C API's fast calls.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

#include "conversion.h"
#include "engine.h"
#include "request/prepared_conversion.h"

namespace tavimor::engine {
namespace {

// Strings made once for the life of the interpreter (the module is never unloaded).
PyObject* Interned(const char* text) {
  return PyUnicode_InternFromString(text);
}

PyObject* kMiss = nullptr;        // made with the module
PyObject* gParamsType = nullptr;  // tavimor.Params, whose objects are frozen

bool SameDict(PyObject* a, PyObject* b) {
  if (PyDict_Size(a) != PyDict_Size(b)) return false;
  Py_ssize_t position = 0;
  PyObject* key;
  PyObject* value;
  while (PyDict_Next(a, &position, &key, &value)) {
    if (!PyUnicode_CheckExact(key)) return false;
    PyObject* other = PyDict_GetItemWithError(b, key);
    if (other == nullptr) {
      PyErr_Clear();
      return false;
    }
    if (!SameArgument(value, other)) return false;
  }
  return true;
}

// The fields of a Params, or null.
PyObject* FieldsOf(PyObject* params) {
  PyObject** dict = _PyObject_GetDictPtr(params);
  return dict != nullptr && *dict != nullptr && PyDict_Check(*dict) ? *dict : nullptr;
}

// A snapshot of an argument that SameArgument can compare later calls with: dicts copied
// (a caller may change them), the rest as they are. Null where it cannot tell.
PyObject* Snapshot(PyObject* value) {
  if (!SameArgument(value, value)) return nullptr;
  if (!PyDict_Check(value)) {
    Py_INCREF(value);
    return value;
  }
  PyObject* copy = PyDict_New();
  Py_ssize_t position = 0;
  PyObject* key;
  PyObject* item;
  while (PyDict_Next(value, &position, &key, &item)) {
    PyObject* kept = Snapshot(item);
    if (kept == nullptr || PyDict_SetItem(copy, key, kept) != 0) {
      Py_XDECREF(kept);
      Py_DECREF(copy);
      PyErr_Clear();
      return nullptr;
    }
    Py_DECREF(kept);
  }
  return copy;
}

// The settings made for a call's units and options, most recently used first tried.
struct CacheEntry {
  PyObject* FromUnit = nullptr;
  PyObject* ToUnit = nullptr;
  PyObject* Options = nullptr;   // a snapshot
  PyObject* Settings = nullptr;  // the tavimor.Settings
  const Conversion* Engine = nullptr;
};
constexpr std::size_t kCacheSize = 16;
std::array<CacheEntry, kCacheSize> gCache;
std::size_t gLastHit = 0;
std::size_t gNextSlot = 0;

bool Matches(const CacheEntry& entry, PyObject* fromUnit, PyObject* toUnit, PyObject* options) {
  return entry.Settings != nullptr && SameArgument(fromUnit, entry.FromUnit) &&
         SameArgument(toUnit, entry.ToUnit) && SameArgument(options, entry.Options);
}

// The options given as keywords (names[i] = values[i]) against a snapshot of the dict they
// made: no dict is built for a call that finds its settings.
bool SameKeywords(PyObject* snapshot, PyObject* names, PyObject* const* values,
                  const std::vector<Py_ssize_t>& taken) {
  if (!PyDict_Check(snapshot) || PyDict_Size(snapshot) != static_cast<Py_ssize_t>(taken.size())) {
    return false;
  }
  for (const Py_ssize_t i : taken) {
    PyObject* kept = PyDict_GetItemWithError(snapshot, PyTuple_GET_ITEM(names, i));
    if (kept == nullptr) {
      PyErr_Clear();
      return false;
    }
    if (!SameArgument(values[i], kept)) return false;
  }
  return true;
}

const CacheEntry* FindByKeywords(PyObject* fromUnit, PyObject* toUnit, PyObject* names,
                                 PyObject* const* values, const std::vector<Py_ssize_t>& taken) {
  auto matches = [&](const CacheEntry& entry) {
    return entry.Settings != nullptr && SameArgument(fromUnit, entry.FromUnit) &&
           SameArgument(toUnit, entry.ToUnit) && SameKeywords(entry.Options, names, values, taken);
  };
  if (matches(gCache[gLastHit])) return &gCache[gLastHit];
  for (std::size_t i = 0; i < kCacheSize; ++i) {
    if (matches(gCache[i])) {
      gLastHit = i;
      return &gCache[i];
    }
  }
  return nullptr;
}

const CacheEntry* Find(PyObject* fromUnit, PyObject* toUnit, PyObject* options) {
  if (!PyDict_Check(options)) return nullptr;
  if (Matches(gCache[gLastHit], fromUnit, toUnit, options)) return &gCache[gLastHit];
  for (std::size_t i = 0; i < kCacheSize; ++i) {
    if (Matches(gCache[i], fromUnit, toUnit, options)) {
      gLastHit = i;
      return &gCache[i];
    }
  }
  return nullptr;
}

// The Conversion inside a Settings' _conversion; the last one asked for is kept, with a
// reference, so that its address cannot come back for another.
const Conversion* EngineOf(PyObject* conversion) {
  // Plain pointers: an object released after the interpreter has ended would crash.
  static PyObject* last = nullptr;
  static const Conversion* lastEngine = nullptr;
  if (conversion != last) {
    lastEngine = py::handle(conversion).cast<const Conversion*>();
    Py_XDECREF(last);
    last = Py_NewRef(conversion);
  }
  return lastEngine;
}

PyObject* ReasonText(std::string_view text) {
  return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

// The answer of one value as errors= asks for it: the result (and delta), ValueError for a
// value outside the From unit's range, or the reason beside the result.
PyObject* Answer(const Conversion& engine, PyObject* value, double number, bool withDelta,
                 const Converted& c, Errors errors) {
  const bool missing = std::isnan(number);
  if (errors == Errors::Raise && c.Outside && !missing) {
    const auto text = engine.rangeText();
    PyErr_Format(PyExc_ValueError, "value %R: %s", value,
                 std::string(text.value_or(kOutOfRangeText)).c_str());
    return nullptr;
  }
  PyObject* reason = nullptr;
  if (errors == Errors::Reason) {
    if (missing) {
      reason = ReasonText(kNotANumber);
    } else if (c.Outside) {
      reason = ReasonText(engine.rangeText().value_or(kOutOfRangeText));
    } else if (std::isnan(c.Result)) {
      reason = ReasonText(kOutOfRangeText);
    } else {
      reason = Py_NewRef(Py_None);
    }
  }
  if (!withDelta && reason == nullptr) return PyFloat_FromDouble(c.Result);
  if (!withDelta) return Py_BuildValue("(dN)", c.Result, reason);
  if (reason == nullptr) return Py_BuildValue("(dd)", c.Result, c.Delta);
  return Py_BuildValue("(ddN)", c.Result, c.Delta, reason);
}

// The arguments shared by every form: the value (and delta), raw, errors and threads; a
// scalar call only when threads is None.
struct Scalar {
  double Number;
  std::optional<double> Delta;
  bool Shown;
  Errors How;
};

std::optional<Scalar> ScalarCall(PyObject* value, PyObject* delta, PyObject* raw, PyObject* errors,
                                 PyObject* threads) {
  if (threads != Py_None || (raw != Py_True && raw != Py_False)) return std::nullopt;
  const auto how = ErrorsOf(errors);
  const auto number = ScalarNumber(value);
  if (!how || !number) return std::nullopt;
  Scalar call{*number, std::nullopt, raw == Py_False, *how};
  if (delta != nullptr) {
    call.Delta = ScalarNumber(delta);
    if (!call.Delta) return std::nullopt;
  }
  return call;
}

// convert_one(value, from_unit, to_unit, options, raw, errors, threads)
PyObject* ConvertOne(PyObject* const* args, Py_ssize_t count) {
  if (count != 7) return Py_NewRef(kMiss);
  const auto call = ScalarCall(args[0], nullptr, args[4], args[5], args[6]);
  if (!call) return Py_NewRef(kMiss);
  const CacheEntry* entry = Find(args[1], args[2], args[3]);
  if (entry == nullptr) return Py_NewRef(kMiss);
  const Converted c = entry->Engine->one(call->Number, std::nullopt, call->Shown);
  return Answer(*entry->Engine, args[0], call->Number, false, c, call->How);
}

// increment_one(value, delta, from_unit, to_unit, options, raw, errors, threads)
PyObject* IncrementOne(PyObject* const* args, Py_ssize_t count) {
  if (count != 8) return Py_NewRef(kMiss);
  const auto call = ScalarCall(args[0], args[1], args[5], args[6], args[7]);
  if (!call) return Py_NewRef(kMiss);
  const CacheEntry* entry = Find(args[2], args[3], args[4]);
  if (entry == nullptr) return Py_NewRef(kMiss);
  const Converted c = entry->Engine->one(call->Number, call->Delta, call->Shown);
  return Answer(*entry->Engine, args[0], call->Number, true, c, call->How);
}

// one(conversion, value, delta or None, raw, errors, threads): a Settings' own call.
PyObject* SettingsOne(PyObject* const* args, Py_ssize_t count) {
  if (count != 6) return Py_NewRef(kMiss);
  PyObject* delta = args[2] == Py_None ? nullptr : args[2];
  const auto call = ScalarCall(args[1], delta, args[3], args[4], args[5]);
  if (!call) return Py_NewRef(kMiss);
  const Conversion* engine = EngineOf(args[0]);
  const Converted c = engine->one(call->Number, call->Delta, call->Shown);
  return Answer(*engine, args[1], call->Number, delta != nullptr, c, call->How);
}

// cached(from_unit, to_unit, options): the Settings made for them, or None.
PyObject* Cached(PyObject* const* args, Py_ssize_t count) {
  if (count != 3) return Py_NewRef(Py_None);
  const CacheEntry* entry = Find(args[0], args[1], args[2]);
  return Py_NewRef(entry == nullptr ? Py_None : entry->Settings);
}

// remember(from_unit, to_unit, options, settings): keeps the settings for later calls with
// the same arguments; arguments it cannot compare are not kept.
PyObject* Remember(PyObject* const* args, Py_ssize_t count) {
  if (count != 4 || !PyDict_Check(args[2])) return Py_NewRef(Py_None);
  PyObject* options = Snapshot(args[2]);
  if (options == nullptr || !SameArgument(args[0], args[0]) || !SameArgument(args[1], args[1])) {
    Py_XDECREF(options);
    return Py_NewRef(Py_None);
  }
  const py::object conversion = py::handle(args[3]).attr("_conversion");
  CacheEntry& entry = gCache[gNextSlot];
  Py_XDECREF(entry.FromUnit);
  Py_XDECREF(entry.ToUnit);
  Py_XDECREF(entry.Options);
  Py_XDECREF(entry.Settings);
  entry = CacheEntry{Py_NewRef(args[0]), Py_NewRef(args[1]), options, Py_NewRef(args[3]),
                     conversion.cast<const Conversion*>()};
  gLastHit = gNextSlot;
  gNextSlot = (gNextSlot + 1) % kCacheSize;
  return Py_NewRef(Py_None);
}

// tavimor.convert and tavimor.increment: a callable that answers the common call (a number,
// the units by position, options by keyword, settings already kept) without entering
// Python, and hands every other call, with its arguments as given, to the Python function
// it wraps. Python's own call of a function with **options costs more than the
// conversion. Readers (help, inspect, pickle) see the wrapped function.
struct Front {
  PyObject_HEAD vectorcallfunc Call;
  PyObject* Wrapped;
  Py_ssize_t Positional;  // the values (and the delta), from_unit, to_unit
  bool WithDelta;
};

// The answer, or Miss() where the wrapped function must take the call.
PyObject* QuickAnswer(const Front& front, PyObject* const* args, Py_ssize_t count,
                      PyObject* names) {
  static PyObject* const kRaw = Interned("raw");
  static PyObject* const kErrors = Interned("errors");
  static PyObject* const kThreads = Interned("threads");
  static PyObject* const kQuantity = Interned("quantity");
  static PyObject* const kNan = Interned("nan");
  if (count != front.Positional) return Py_NewRef(kMiss);
  PyObject* raw = Py_True;
  PyObject* errors = kNan;
  PyObject* threads = Py_None;
  thread_local std::vector<Py_ssize_t> options;
  options.clear();
  const Py_ssize_t keywords = names == nullptr ? 0 : PyTuple_GET_SIZE(names);
  PyObject* const* values = args + count;
  for (Py_ssize_t i = 0; i < keywords; ++i) {
    PyObject* name = PyTuple_GET_ITEM(names, i);
    if (name == kRaw) {
      raw = values[i];
    } else if (name == kErrors) {
      errors = values[i];
    } else if (name == kThreads) {
      threads = values[i];
    } else if (name == kQuantity) {
      if (values[i] != Py_False) return Py_NewRef(kMiss);
    } else {
      options.push_back(i);
    }
  }
  PyObject* delta = front.WithDelta ? args[1] : nullptr;
  const auto call = ScalarCall(args[0], delta, raw, errors, threads);
  if (!call) return Py_NewRef(kMiss);
  const Py_ssize_t units = front.WithDelta ? 2 : 1;
  const CacheEntry* entry = FindByKeywords(args[units], args[units + 1], names, values, options);
  if (entry == nullptr) return Py_NewRef(kMiss);
  const Converted c = entry->Engine->one(call->Number, call->Delta, call->Shown);
  return Answer(*entry->Engine, args[0], call->Number, front.WithDelta, c, call->How);
}

PyObject* FrontCall(PyObject* self, PyObject* const* args, std::size_t countAndFlag,
                    PyObject* names) {
  const Front& front = *reinterpret_cast<Front*>(self);
  PyObject* answer =
      Guarded([&] { return QuickAnswer(front, args, PyVectorcall_NARGS(countAndFlag), names); });
  if (answer != kMiss) return answer;  // or null for an error
  Py_DECREF(answer);
  return PyObject_Vectorcall(front.Wrapped, args, countAndFlag, names);
}

PyObject* FrontGetAttribute(PyObject* self, PyObject* name) {
  const Front& front = *reinterpret_cast<Front*>(self);
  auto is = [name](const char* text) { return PyUnicode_CompareWithASCIIString(name, text) == 0; };
  if (is("__wrapped__")) return Py_NewRef(front.Wrapped);
  if (is("__class__") || is("__reduce__") || is("__reduce_ex__")) {
    return PyObject_GenericGetAttr(self, name);
  }
  return PyObject_GetAttr(front.Wrapped, name);
}

// Pickled by name, as the function is: the module's attribute is this object.
PyObject* FrontReduce(PyObject* self, PyObject*) {
  return PyObject_GetAttrString(reinterpret_cast<Front*>(self)->Wrapped, "__qualname__");
}

// A descriptor like a function, so that help() documents it as one.
PyObject* FrontGet(PyObject* self, PyObject*, PyObject*) {
  return Py_NewRef(self);
}

PyObject* FrontRepr(PyObject* self) {
  return PyObject_Repr(reinterpret_cast<Front*>(self)->Wrapped);
}

int FrontTraverse(PyObject* self, visitproc visit, void* arg) {
  Py_VISIT(reinterpret_cast<Front*>(self)->Wrapped);
  return 0;
}

int FrontClear(PyObject* self) {
  Py_CLEAR(reinterpret_cast<Front*>(self)->Wrapped);
  return 0;
}

void FrontDealloc(PyObject* self) {
  PyObject_GC_UnTrack(self);
  FrontClear(self);
  PyObject_GC_Del(self);
}

PyMethodDef kFrontMethods[] = {
    {"__reduce__", &FrontReduce, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

PyTypeObject* FrontType() {
  static PyTypeObject type = [] {
    PyTypeObject t{};
    Py_SET_REFCNT(reinterpret_cast<PyObject*>(&t), 1);  // static, never released
    t.tp_name = "tavimor._engine.function";             // as help() names it
    t.tp_basicsize = sizeof(Front);
    t.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_GC | Py_TPFLAGS_HAVE_VECTORCALL;
    t.tp_vectorcall_offset = offsetof(Front, Call);
    t.tp_call = PyVectorcall_Call;
    t.tp_getattro = FrontGetAttribute;
    t.tp_descr_get = FrontGet;
    t.tp_repr = FrontRepr;
    t.tp_traverse = FrontTraverse;
    t.tp_clear = FrontClear;
    t.tp_dealloc = FrontDealloc;
    t.tp_methods = kFrontMethods;
    return t;
  }();
  return &type;
}

// front(function, positional, with_delta)
PyObject* MakeFront(PyObject* const* args, Py_ssize_t count) {
  if (count != 3 || !PyCallable_Check(args[0]) || !PyLong_Check(args[1]) ||
      !PyBool_Check(args[2])) {
    PyErr_SetString(PyExc_TypeError, "front takes a function, its positional count and a bool");
    return nullptr;
  }
  const Py_ssize_t positional = PyLong_AsSsize_t(args[1]);
  if (positional != 3 && positional != 4) {
    PyErr_SetString(PyExc_ValueError, "front takes 3 or 4 positional arguments");
    return nullptr;
  }
  Front* front = PyObject_GC_New(Front, FrontType());
  if (front == nullptr) return nullptr;
  front->Call = FrontCall;
  front->Wrapped = Py_NewRef(args[0]);
  front->Positional = positional;
  front->WithDelta = args[2] == Py_True;
  PyObject_GC_Track(front);
  return reinterpret_cast<PyObject*>(front);
}

PyObject* SetParamsType(PyObject* const* args, Py_ssize_t count) {
  if (count != 1 || !PyType_Check(args[0])) {
    PyErr_SetString(PyExc_TypeError, "set_params_type takes the type tavimor.Params");
    return nullptr;
  }
  Py_XDECREF(gParamsType);
  gParamsType = Py_NewRef(args[0]);
  return Py_NewRef(Py_None);
}

PyMethodDef kFunctions[] = {
    {"convert_one",
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<ConvertOne>)),
     METH_FASTCALL,
     "convert_one($module, value, from_unit, to_unit, options, raw, errors, threads, "
     "/)\n--\n\ntavimor.convert of one number with the settings kept for these arguments, or "
     "MISS."},
    {"increment_one",
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<IncrementOne>)),
     METH_FASTCALL,
     "increment_one($module, value, delta, from_unit, to_unit, options, raw, errors, threads, "
     "/)\n--\n\ntavimor.increment of one number, or MISS."},
    {"settings_one",
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<SettingsOne>)),
     METH_FASTCALL,
     "settings_one($module, conversion, value, delta, raw, errors, threads, /)\n--\n\nA Settings' "
     "convert (delta None) or increment of one number, or MISS."},
    {"cached", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<Cached>)),
     METH_FASTCALL,
     "cached($module, from_unit, to_unit, options, /)\n--\n\nThe Settings kept for these "
     "arguments, or None."},
    {"remember", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<Remember>)),
     METH_FASTCALL,
     "remember($module, from_unit, to_unit, options, settings, /)\n--\n\nKeeps the Settings for "
     "later calls with these arguments."},
    {"set_params_type",
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<SetParamsType>)),
     METH_FASTCALL,
     "set_params_type($module, Params, /)\n--\n\nTells the cache the type tavimor.Params, whose "
     "objects are frozen."},
    {"front", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&FastCall<MakeFront>)),
     METH_FASTCALL,
     "front($module, function, positional, with_delta, /)\n--\n\nfunction with its common "
     "calls answered in the engine."},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

PyObject* Miss() {
  return kMiss;
}

bool SameArgument(PyObject* a, PyObject* b) {
  PyTypeObject* type = Py_TYPE(a);
  if (type != Py_TYPE(b)) return false;
  if (a == Py_None || type == &PyBool_Type) return a == b;
  if (PyFloat_Check(a)) {
    const double x = PyFloat_AS_DOUBLE(a);
    const double y = PyFloat_AS_DOUBLE(b);
    return std::memcmp(&x, &y, sizeof x) == 0;
  }
  if (PyUnicode_Check(a) || PyLong_Check(a)) {
    if (a == b) return true;
    const int equal = PyObject_RichCompareBool(a, b, Py_EQ);
    if (equal < 0) PyErr_Clear();
    return equal == 1;
  }
  if (PyDict_Check(a)) return SameDict(a, b);
  if (gParamsType != nullptr && reinterpret_cast<PyObject*>(type) == gParamsType) {
    if (a == b) return true;  // frozen
    PyObject* x = FieldsOf(a);
    PyObject* y = FieldsOf(b);
    return x != nullptr && y != nullptr && SameDict(x, y);
  }
  return false;
}

std::optional<double> ScalarNumber(PyObject* value) {
  if (PyFloat_Check(value)) return PyFloat_AS_DOUBLE(value);
  if (!PyLong_CheckExact(value)) return std::nullopt;
  const double number = PyLong_AsDouble(value);
  if (number == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();  // beyond the float range: the general way
    return std::nullopt;
  }
  return number;
}

std::optional<Errors> ErrorsOf(PyObject* errors) {
  static PyObject* const kNanName = Interned("nan");
  static PyObject* const kRaiseName = Interned("raise");
  static PyObject* const kReasonName = Interned("reason");
  if (!PyUnicode_Check(errors)) return std::nullopt;
  if (errors == kNanName || PyUnicode_Compare(errors, kNanName) == 0) return Errors::Nan;
  if (errors == kRaiseName || PyUnicode_Compare(errors, kRaiseName) == 0) return Errors::Raise;
  if (errors == kReasonName || PyUnicode_Compare(errors, kReasonName) == 0) {
    return Errors::Reason;
  }
  return std::nullopt;
}

void AddFastFunctions(py::module_& m, PyMethodDef* table) {
  if (PyModule_AddFunctions(m.ptr(), table) != 0) throw py::error_already_set();
}

void AddScalars(py::module_& m) {
  kMiss = PyObject_CallNoArgs(reinterpret_cast<PyObject*>(&PyBaseObject_Type));
  if (kMiss == nullptr || PyType_Ready(FrontType()) != 0) throw py::error_already_set();
  AddFastFunctions(m, kFunctions);
  m.attr("MISS") = py::reinterpret_borrow<py::object>(kMiss);
}

}  // namespace tavimor::engine
