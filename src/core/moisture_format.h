#pragma once

#include <string>

#include "core/unit_tables.h"

namespace tavimor {

// The text of a converted moisture value as the result and delta fields show it. The value
// is single precision, as the panel holds results.
std::string FormatMoistureValue(MoistureUnit unit, float value);
// The same text appended to out.
void AppendMoistureValue(std::string& out, MoistureUnit unit, float value);

}  // namespace tavimor
