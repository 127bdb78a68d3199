// The conversion a Settings of the package stands for: a request read from keywords by the
// names of the request's table and prepared once. conversion.cpp gives it to Python;
// scalars.cpp converts single values with it without the overhead of a binding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/moisture_conversion.h"
#include "engine.h"
#include "request/conversion_request.h"
#include "request/prepared_conversion.h"

namespace tavimor::engine {

// One value converted: the result and delta (NaN where there is none) and whether the value
// lies outside the From unit's range (NaN included where the unit has one).
struct Converted {
  double Result = kNaN;
  double Delta = kNaN;
  bool Outside = false;
};

class Conversion {
 public:
  explicit Conversion(const py::dict& keywords);

  // One value; with an increment, its delta too. shown: the numbers the fields show instead
  // of the held values.
  Converted one(double number, std::optional<double> increment, bool shown) const;

  // A column converted: (results, deltas or None without an increment, status), status 1
  // where the value lies outside the From unit's range and 0 where it was converted.
  py::tuple convert(const Column& values, std::optional<double> increment, bool shown,
                    int threads) const;
  py::tuple spread(const Column& values, bool shown, int threads) const;
  std::vector<std::string> lines(const Column& values, const std::optional<Flags>& notNumber,
                                 std::optional<double> increment, bool raw, int threads) const;

  // The From unit's message for a value outside its range; nothing for a unit without one.
  std::optional<std::string_view> rangeText() const;
  float measuredMbar() const;
  float computeMbar() const;

 private:
  PreparedConversion with(std::optional<double> increment, bool raw = false) const;
  // Whether a value's conversion searches (a dew point, natural gas): a thread must fill its
  // cache first.
  bool searches() const;
  const MoistureConversion& withIncrement(float increment) const;

  ConversionRequest m_request;
  MoistureInputs m_inputs;  // the request's, without a From value
  MoistureConversion m_conversion;
  // The conversion with the increment of the last scalar increment, made with the GIL held.
  mutable std::optional<std::pair<float, MoistureConversion>> m_lastIncrement;
};

}  // namespace tavimor::engine
