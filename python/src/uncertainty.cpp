// How sure a converted value is: the request's uncertainties propagated to each value of a
// column, as tavimor-convert propagates them to a line.

#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "core/single_precision.h"
#include "core/uncertainty.h"
#include "engine.h"
#include "request/conversion_request.h"
#include "request/prepared_conversion.h"

namespace tavimor::engine {
namespace {

// The statistics of one value, in the order of the arrays propagate returns.
enum Statistic { Estimate, Standard, Low, High, Linear, kStatistics };
// Per contribution: the input's standard uncertainty, the sensitivity, their product.
enum Share { InputStandard, Sensitivity, Value, kShares };

class Uncertainty {
 public:
  explicit Uncertainty(const py::dict& keywords) : m_request(RequestOf(keywords)) {}

  // Each value's propagation: (statistics n x 5: estimate, standard uncertainty, low, high,
  // linear standard uncertainty; reaches out of range; exact; contributions n x 4 x 3 in the
  // order of UncertaintySource, each the input's standard uncertainty, the sensitivity and
  // their product; status 1 where the value lies outside the From unit's range). fromU,
  // when given, is each value's expanded uncertainty in the From unit. NaN where there is no
  // number.
  py::tuple propagate(const Column& values, const std::optional<Column>& fromU, int threads) const {
    const auto n = static_cast<std::size_t>(values.size());
    const double* u = nullptr;
    ConversionRequest request = m_request;
    if (fromU) {
      if (static_cast<std::size_t>(fromU->size()) != n) {
        throw py::value_error("u must have one uncertainty per value");
      }
      u = fromU->data();
      checkUncertainties(u, n);
      request.FromUncertainty = ValueUncertainty{};
    }
    const auto rows = static_cast<py::ssize_t>(n);
    py::array_t<double> statistics(std::vector<py::ssize_t>{rows, kStatistics});
    py::array_t<bool> outOfRange(rows);
    py::array_t<bool> exact(rows);
    py::array_t<double> shares(
        std::vector<py::ssize_t>{rows, static_cast<py::ssize_t>(kUncertaintySourceCount), kShares});
    py::array_t<uint8_t> status(rows);
    const double* in = values.data();
    double* stat = statistics.mutable_data();
    bool* flag = outOfRange.mutable_data();
    bool* isExact = exact.mutable_data();
    double* share = shares.mutable_data();
    uint8_t* s = status.mutable_data();
    const PreparedConversion prepared(request);
    // Each value costs the conversions of its trials, so two values already fill two threads.
    ForBlocks(
        n, threads,
        [&](std::size_t begin, std::size_t end) {
          PreparedConversion conversion = prepared;
          for (std::size_t i = begin; i < end; ++i) {
            double* row = stat + i * kStatistics;
            double* rowShares = share + i * kUncertaintySourceCount * kShares;
            std::fill(row, row + kStatistics, kNaN);
            std::fill(rowShares, rowShares + kUncertaintySourceCount * kShares, kNaN);
            flag[i] = false;
            isExact[i] = false;
            if (u) conversion.setFromUncertainty(ValueUncertainty{u[i], false});
            const bool outside = conversion.convert(HoldSingle(in[i])).has_value();
            s[i] = outside ? 1 : 0;
            if (outside) continue;
            const UncertaintyResult& r = conversion.uncertainty();
            flag[i] = !r.Valid || r.ReachesOutOfRange;
            if (!r.Valid) continue;
            row[Estimate] = r.Estimate;
            row[Linear] = r.LinearStandardUncertainty;
            if (r.HasInterval) {
              row[Standard] = r.StandardUncertainty;
              row[Low] = r.Low;
              row[High] = r.High;
              isExact[i] = r.Method == IntervalMethod::ExactImage;
            }
            for (std::size_t c = 0; c < kUncertaintySourceCount; ++c) {
              const UncertaintyContribution& contribution = r.Contributions[c];
              double* out = rowShares + c * kShares;
              out[InputStandard] = contribution.StandardUncertainty;
              if (!contribution.Present) out[Value] = 0;
              if (contribution.Valid) {
                out[Sensitivity] = contribution.Sensitivity;
                out[Value] = contribution.Value;
              }
            }
          }
        },
        1);
    return py::make_tuple(statistics, outOfRange, exact, shares, status);
  }

 private:
  // An uncertainty per value is refused as the keyword u refuses one.
  static void checkUncertainties(const double* u, std::size_t n) {
    static const RequestField* const kField = FieldByKeyword("u");
    ConversionRequest scratch;
    for (std::size_t i = 0; i < n; ++i) {
      if (const auto refusal = kField->SetNumber(scratch, u[i], NumberCheck::AsTyped)) {
        throw py::value_error(
            RefusalMessage(*refusal, "u", std::string(py::repr(py::float_(u[i])))) + " at index " +
            std::to_string(i));
      }
    }
  }

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
