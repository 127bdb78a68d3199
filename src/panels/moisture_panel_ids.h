#pragma once

namespace tavimor::moisture_ids {

// Control identifiers of the Moisture/Humidity panel (template 132); each is the widget's
// objectName.
inline constexpr int kFromValue = 1004;
inline constexpr int kFromUnit = 1005;
inline constexpr int kMeasuredPressureUnit = 1006;
inline constexpr int kMeasuredPressure = 1007;
inline constexpr int kGraph = 1008;
inline constexpr int kResult = 1009;
inline constexpr int kToUnit = 1010;
inline constexpr int kComputePressure = 1011;
inline constexpr int kComputePressureUnit = 1012;
inline constexpr int kIsobarMeasured = 1013;
inline constexpr int kIsobarNone = 1014;
inline constexpr int kIsobarComputed = 1015;
inline constexpr int kComputeAtMeasured = 1016;
inline constexpr int kComputeAtPressure = 1017;
inline constexpr int kIncrement = 1018;
inline constexpr int kDelta = 1019;
inline constexpr int kZoomButton = 1047;
inline constexpr int kDecoration = 1048;
inline constexpr int kIsobarCaption = 1049;

// The private application message that converts a clipboard list (hexadecimal 800A).
inline constexpr int kConvertClipboardListMessage = 32778;

// Dialog templates of the parameter dialogs.
inline constexpr int kGasDialog = 145;
inline constexpr int kLiquidDialog = 141;
inline constexpr int kAmbientDialog = 142;
inline constexpr int kDensityDialog = 143;

}  // namespace tavimor::moisture_ids
