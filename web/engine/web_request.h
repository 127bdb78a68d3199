#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/convert_options.h"
#include "core/moisture_conversion.h"
#include "store/saved_selections.h"

namespace tavimor {

// One field of a conversion asked for by the page or the JavaScript API: the Python package's
// keyword ("from_unit", "measured", "from_params.mw", ...) or a table option ("column", ...),
// and its text. Numbers come as the shortest text that reads back to the same double.
struct WebRequestField {
  std::string_view Name;
  std::string_view Text;
};

// Everything one request converts with: the command's settings, so that values, lines and
// tables take the command's own path.
struct WebRequest {
  ConvertSettings Settings;
};

// Applies the fields in order onto a request with the program's defaults; the message of the
// first bad field, or nothing. This is the one place where the page's and the API's names
// become the engine's settings.
std::optional<std::string> ApplyRequestFields(std::span<const WebRequestField> fields,
                                              WebRequest& request);

// The request as the JavaScript API's options (JSON): units and pressure units by name, the
// pressures, computeAt null for the measured pressure, the increment where there is one, the
// physics by name, and both sides' parameters marked saved (taken as they stand).
std::string RequestOptionsJson(const ConvertSettings& settings);

// The names the request takes (JSON): units, pressure units, formulas, enhancement factors,
// natural-gas methods, media, and the spread's [formula, factor] combinations in its order.
std::string RequestNamesJson();

}  // namespace tavimor
