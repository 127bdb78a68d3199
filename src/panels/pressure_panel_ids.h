#pragma once

namespace tavimor::pressure_ids {

// Control identifiers of the pressure panel (template 134); each is the widget's objectName.
inline constexpr int kDecoration = 1048;
inline constexpr int kFromUnit = 1061;
inline constexpr int kFromValue = 1062;
inline constexpr int kResult = 1063;
inline constexpr int kToUnit = 1064;

}  // namespace tavimor::pressure_ids
