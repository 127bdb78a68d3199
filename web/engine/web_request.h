#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/convert_options.h"
#include "request/conversion_request.h"

namespace tavimor {

// One field of a conversion as the JavaScript API gives it: a keyword of the request
// ("from_unit", with its key after a dot: "from_params.mw"; "from_params.saved" marks a
// side read from saved selections) or one of the command's options for tables ("column",
// see ApplyTableOption); a number as the shortest text that reads back to the same double,
// or a text.
struct WebRequestField {
  std::string_view Name;
  bool Number = false;
  std::string_view Text;
};

// Applies the fields onto settings as the request's table applies them (in its order, a
// number through the field's number and a text through its text, the numbers of a side
// marked saved taken as stored); the message of the first refused one, or nothing.
std::optional<std::string> ApplyRequestFields(std::span<const WebRequestField> fields,
                                              ConvertSettings& settings);

// The request's fields as the JavaScript API's options (JSON), each by its keyword in
// JavaScript's spelling ("fromUnit", "computeAt", "fromParams": {"mw", ..., "vaporTemp"}),
// null where it holds nothing; each side marked saved, so that it is taken as it stands.
std::string RequestOptionsJson(const ConversionRequest& request);

// The names the API takes (JSON): units, pressure units, formulas, enhancement factors,
// natural-gas methods, media, the spread's [formula, factor] combinations in its order, and
// the request's fields as [keyword, key].
std::string RequestNamesJson();

}  // namespace tavimor
