// The module tavimor._engine and the names the package lists.

#include <pybind11/stl.h>

#include <algorithm>
#include <string>
#include <thread>

#include "core/formula_spread.h"
#include "core/unit_tables.h"
#include "engine.h"
#include "request/choice_names.h"

namespace tavimor::engine {

int CoreCount() {
  // Asking for the cores reads a file; once is enough.
  static const int kCores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return kCores;
}

namespace {

template <class T, std::size_t N>
py::tuple Names(const std::array<ChoiceRow<T>, N>& choices) {
  py::list names;
  for (const ChoiceRow<T>& choice : choices) names.append(std::string(choice.Name));
  return py::tuple(names);
}

}  // namespace
}  // namespace tavimor::engine

PYBIND11_MODULE(_engine, m) {
  using namespace tavimor;
  using namespace tavimor::engine;
  m.doc() = "Tavimor's conversion engine; use the functions of the tavimor package.";
  AddConversion(m);
  AddValues(m);
  AddSteps(m);
  AddScalars(m);
  AddUncertainty(m);

  py::list units;
  for (const MoistureUnitRow& row : kMoistureUnits) units.append(std::string(row.Name));
  py::list pressureUnits;
  for (int i = 0; i < kPressureUnitCount; ++i) pressureUnits.append(PressureUnitName(i));
  m.attr("UNITS") = py::tuple(units);
  m.attr("PRESSURE_UNITS") = py::tuple(pressureUnits);
  m.attr("FORMULAS") = Names(kSwvpFormulaChoices);
  m.attr("ENHANCEMENTS") = Names(kEnhancementFactorChoices);
  m.attr("GAS_METHODS") = Names(kGasMethodChoices);
  m.attr("MEDIA") = Names(kDensityMediumChoices);
  py::list combinations;
  for (const PhysicsCombination& c : kPhysicsCombinations) {
    combinations.append(py::make_tuple(
        std::string(ChoiceRowOf(kSwvpFormulaChoices, c.SwvpFormula).Name),
        std::string(ChoiceRowOf(kEnhancementFactorChoices, c.EnhancementFactor).Name)));
  }
  m.attr("COMBINATIONS") = py::tuple(combinations);
}
