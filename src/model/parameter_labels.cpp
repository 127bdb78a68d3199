#include "model/parameter_labels.h"

#include <cmath>

#include "core/number_text.h"
#include "core/unit_tables.h"

namespace tavimor {

namespace {

constexpr std::size_t kLabelNumberMaxChars = 12;

// Cuts a UTF-8 text to at most max bytes without splitting a character.
std::string Bounded(std::string text, std::size_t max) {
  if (text.size() <= max) return text;
  std::size_t cut = max;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  return text;
}

}  // namespace

std::string LabelNumber(double value) {
  if (!std::isfinite(value)) return "  ---";
  std::string text = FormatFixedWidth(value, 5, 1);
  if (text.size() <= kLabelNumberMaxChars) return text;
  return FormatSignificant(value, 7);
}

std::string GasLabelSuffix(int gasIndex, float molWeight) {
  if (gasIndex < 0 || gasIndex >= kGasCount) return {};
  std::string suffix(GasTable[static_cast<std::size_t>(gasIndex)].LabelSuffix);
  if (gasIndex == OtherGasIndex) suffix += LabelNumber(molWeight);
  return Bounded(std::move(suffix), kLabelSuffixMaxBytes);
}

std::string CustomLiquidLabelSuffix(float henryK) {
  return Bounded(" in Unknown Liquid K=" + LabelNumber(henryK), kLabelSuffixMaxBytes);
}

std::string AmbientLabelSuffix(float tempC, bool fahrenheit) {
  std::string suffix =
      fahrenheit ? " at dry bulb temperature of" + LabelNumber(FahrenheitFromCelsius(tempC)) + "°F"
                 : " at dry bulb temperature of " + LabelNumber(tempC) + "°C";
  return Bounded(std::move(suffix), kLabelSuffixMaxBytes);
}

std::string_view MediumText(DensityMedium medium) {
  switch (medium) {
    case DensityMedium::PureVapor:
      return " of pure H2O-vapor";
    case DensityMedium::AirMixture:
      return " of Air/H2O-vapor mixture";
    case DensityMedium::NaturalGas:
      return " Natural Gas/H2O-vapor mix.";
  }
  return {};
}

std::string MediumLabelSuffix(DensityMedium medium, float tempC, bool fahrenheit) {
  std::string suffix(MediumText(medium));
  suffix += fahrenheit ? " @ " + LabelNumber(FahrenheitFromCelsius(tempC)) + "°F"
                       : " @ " + LabelNumber(tempC) + "°C";
  return Bounded(std::move(suffix), kLabelSuffixMaxBytes);
}

std::string EntryTextWithChoice(std::string_view baseText, std::string_view suffix) {
  const std::size_t bar = baseText.substr(0, 100).find('|');
  std::string text(baseText.substr(0, bar));
  text += suffix;
  return text;
}

}  // namespace tavimor
