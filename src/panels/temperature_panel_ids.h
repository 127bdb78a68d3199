#pragma once

namespace tavimor::temperature_ids {

// Control identifiers of the temperature panel (template 133); each is the widget's objectName.
inline constexpr int kDecoration = 1048;
inline constexpr int kFromValue = 1065;
inline constexpr int kFromUnit = 1066;
inline constexpr int kResult = 1067;
inline constexpr int kToUnit = 1068;
inline constexpr int kSentence = 1069;

}  // namespace tavimor::temperature_ids
