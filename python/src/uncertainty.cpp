// How sure a converted value is: the request's uncertainties propagated to each value of a
// column, as tavimor-convert propagates them to a line.

#include <pybind11/stl.h>

#include <optional>
#include <string>

#include "engine.h"
#include "request/array_conversion.h"
#include "request/conversion_request.h"
#include "request/prepared_conversion.h"

namespace tavimor::engine {
namespace {

class Uncertainty {
 public:
  explicit Uncertainty(const py::dict& keywords) : m_request(RequestOf(keywords)) {}

  // Each value's propagation: (statistics n x 5 in the order of UncertaintyStatistic:
  // estimate, standard uncertainty, low, high, linear standard uncertainty; reaches out of
  // range; exact; contributions n x 4 x 3 in the order of UncertaintySource, each the
  // input's standard uncertainty, the sensitivity and their product; status 1 where the
  // value lies outside the From unit's range). fromU, when given, is each value's expanded
  // uncertainty in the From unit. NaN where there is no number.
  py::tuple propagate(const Column& values, const std::optional<Column>& fromU, int threads) const {
    const auto n = static_cast<std::size_t>(values.size());
    const double* u = nullptr;
    ConversionRequest request = m_request;
    if (fromU) {
      if (static_cast<std::size_t>(fromU->size()) != n) {
        throw py::value_error("u must have one uncertainty per value");
      }
      u = fromU->data();
      if (const auto refused = FirstRefusedUncertainty(u, n)) {
        const auto [i, refusal] = *refused;
        throw py::value_error(
            RefusalMessage(refusal, "u", std::string(py::repr(py::float_(u[i])))) + " at index " +
            std::to_string(i));
      }
      request.FromUncertainty = ValueUncertainty{};
    }
    const auto rows = static_cast<py::ssize_t>(n);
    py::array_t<double> statistics(std::vector<py::ssize_t>{rows, kUncertaintyStatisticCount});
    py::array_t<bool> outOfRange(rows);
    py::array_t<bool> exact(rows);
    py::array_t<double> shares(std::vector<py::ssize_t>{
        rows, static_cast<py::ssize_t>(kUncertaintySourceCount), kUncertaintyShareCount});
    py::array_t<uint8_t> status(rows);
    const UncertaintyColumns<bool> out{statistics.mutable_data(), outOfRange.mutable_data(),
                                       exact.mutable_data(), shares.mutable_data(),
                                       status.mutable_data()};
    const double* in = values.data();
    const PreparedConversion prepared(request);
    // Each value costs the conversions of its trials, so two values already fill two threads.
    ForBlocks(
        n, threads,
        [&](std::size_t begin, std::size_t end) {
          PreparedConversion conversion = prepared;
          UncertaintyRows(in, u, begin, end, conversion, out);
        },
        1);
    return py::make_tuple(statistics, outOfRange, exact, shares, status);
  }

 private:
  ConversionRequest m_request;
};

}  // namespace

void AddUncertainty(py::module_& m) {
  py::class_<Uncertainty>(m, "Uncertainty")
      .def(py::init<const py::dict&>(), py::arg("keywords"))
      .def("propagate", &Uncertainty::propagate, py::arg("values"), py::arg("u"),
           py::arg("threads"));
}

}  // namespace tavimor::engine
