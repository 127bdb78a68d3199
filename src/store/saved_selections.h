#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/calc_settings.h"
#include "store/moisture_options.h"

namespace tavimor {

// What the saved selections restore on the Moisture/Humidity panel besides CalcSettings.
// The defaults are those taken for a missing key.
struct PanelSelections {
  float FromValue = 0;                // number of the From field
  int32_t FromUnit = 1;               // MoistureUnit index of the From list
  float MeasuredPressure = 1013.25f;  // number of the measured pressure field
  int32_t MeasuredPressureUnit = 0;   // PressureUnit index
  int32_t ToUnit = 1;                 // MoistureUnit index of the To list
  float ComputePressure = 1013.25f;   // number of the compute-at pressure field
  int32_t ComputePressureUnit = 0;    // PressureUnit index
  int32_t IsobarChoice = kIsobarNone;
  int32_t PressureChoice = kComputeAtPressure;
};

inline constexpr std::string_view kKeyConvCategory = "ConvCategory";
inline constexpr std::string_view kKeyIsoAndPrsr = "IsoAndPrsr";
inline constexpr std::string_view kKeyFromDew = "FromDew";
inline constexpr std::string_view kKeyToDew = "ToDew";
inline constexpr std::string_view kKeyFromPrs = "FromPrs";
inline constexpr std::string_view kKeyToPrs = "ToPrs";
inline constexpr std::string_view kKeyTDensity = "TDensity";
inline constexpr std::string_view kKeyMW = "MW";
inline constexpr std::string_view kKeyTAmbient = "TAmbient";
inline constexpr std::string_view kKeyHenry = "Henry";
inline constexpr std::string_view kKeyEquSWVP = "EquSWVP";
inline constexpr std::string_view kKeyEquDensity = "EquDensity";
inline constexpr std::string_view kKeyMediumDensity = "MediumDensity";

// The order in which the panel reads its twelve keys.
inline constexpr std::string_view kPanelKeyReadOrder[] = {
    kKeyFromDew,  kKeyFromPrs,       kKeyToDew,    kKeyToPrs,      kKeyMW,      kKeyHenry,
    kKeyTAmbient, kKeyMediumDensity, kKeyTDensity, kKeyEquDensity, kKeyEquSWVP, kKeyIsoAndPrsr};

// Longest saved line read back. Lines of normal use are under 45 characters; a value typed
// with many digits gives a longer MW or Henry line, which is read whole rather than cut.
inline constexpr std::size_t kSavedLineMaxRead = 255;

// Longest field text saved for the From and pressure fields, as the fields are read.
inline constexpr std::size_t kSavedFieldMaxChars = 14;

// The text of a key of the section, or the empty text when it is missing.
using ProfileReader = std::function<std::string(std::string_view key)>;

// A reader of the section "Tavimor" of an INI file, which it reads at the first key; a file
// that cannot be read reads as empty (the desktop program then starts from the defaults).
// Or of the text of such a file (one a browser was given).
ProfileReader ProfileReaderForFile(std::filesystem::path file);
ProfileReader ProfileReaderForText(std::string text);

// Reads the fields of a saved line the way the stored formats are read: kinds holds one
// letter per field, 'd' for a decimal integer (optional sign, digits) and 'f' for a decimal
// or exponent number; leading blanks before each number are skipped and a comma must
// separate the fields. Returns the values read before the first field that does not match
// (integers as integral doubles; a number beyond the double range as an infinity).
std::vector<double> ScanSavedFields(std::string_view text, std::string_view kinds);

// Applies one saved key: a missing (empty) key gives the defaults of every field; a present
// key assigns its leading fields up to the first that does not parse, and the fields after
// it keep their values. A number that cannot be read (or does not fit a float) takes the
// key's default number; a choice or index that is no member of its set takes its default.
// A molecular weight, Henry's constant or temperature that its parameter dialog would refuse
// typed takes the default too, as does one that cannot be read: then it returns true.
bool ApplySavedKey(std::string_view key, std::string_view text, PanelSelections& selections,
                   CalcSettings& settings);

// Reads the twelve keys of the panel in its order and applies them. Returns the keys that
// held a parameter replaced by its default (see ApplySavedKey), in that order.
std::vector<std::string_view> ReadSavedSelections(const ProfileReader& read,
                                                  PanelSelections& selections,
                                                  CalcSettings& settings);

// What the Save Selections dialog reads from the shown Moisture/Humidity panel.
struct PanelSelectionTexts {
  int32_t IsobarChoice = kIsobarNone;
  int32_t PressureChoice = kComputeAtPressure;
  std::string FromText;        // the fields' texts, as they stand
  int32_t FromListIndex = -1;  // -1 for a list without a selection
  int32_t ToListIndex = -1;
  std::string MeasuredText;
  int32_t MeasuredListIndex = -1;
  std::string ComputeText;
  int32_t ComputeListIndex = -1;
};

using SavedKeys = std::vector<std::pair<std::string, std::string>>;

// The field text as it is saved: at most 14 characters, ended before the first comma or
// control character (a comma would shift the list index read back after it).
std::string SavedFieldText(std::string_view text);

// The twelve keys of the Moisture/Humidity panel in writing order, IsoAndPrsr to
// MediumDensity, without ConvCategory.
SavedKeys ComposePanelSavedKeys(const PanelSelectionTexts& panel, const CalcSettings& settings);

}  // namespace tavimor
