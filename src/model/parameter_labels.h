#pragma once

#include <string>
#include <string_view>

#include "core/calc_settings.h"
#include "core/fahrenheit.h"

namespace tavimor {

// Label suffixes are held in 52-byte buffers: at most 51 bytes.
inline constexpr std::size_t kLabelSuffixMaxBytes = 51;

// The number of a label suffix: "%5.1f", or, when that would run past 12 characters (a
// value typed in exponent form), 7 significant digits in exponent form, so that a suffix
// always fits its buffer and stays readable.
std::string LabelNumber(double value);

// The suffix of the gas dialog for a table row; the "other gas" row appends the typed weight.
std::string GasLabelSuffix(int gasIndex, float molWeight);

// The suffix of the liquid dialog for the custom liquid and its typed K.
std::string CustomLiquidLabelSuffix(float henryK);

// " at dry bulb temperature of  25.0°C" / " at dry bulb temperature of 68.0°F".
std::string AmbientLabelSuffix(float tempC, bool fahrenheit);

// The medium's text of the density dialog, empty for a value that is no medium button.
std::string_view MediumText(DensityMedium medium);

// The medium text followed by " @ %5.1f°C" or " @ %5.1f°F".
std::string MediumLabelSuffix(DensityMedium medium, float tempC, bool fahrenheit);

// A unit list entry with a choice: the base text cut before its first "|" (searched in its
// first 100 characters), followed by the dialog's suffix.
std::string EntryTextWithChoice(std::string_view baseText, std::string_view suffix);

}  // namespace tavimor
