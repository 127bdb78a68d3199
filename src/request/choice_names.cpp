#include "request/choice_names.h"

#include <charconv>

namespace tavimor {

namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::optional<int> ParseListIndex(std::string_view text, int count) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  int index = 0;
  std::from_chars(text.data(), text.data() + text.size(), index);
  if (index >= count) return std::nullopt;
  return index;
}

std::optional<int> ParseMoistureUnit(std::string_view text) {
  if (auto index = ParseListIndex(text, kMoistureUnitCount)) return index;
  for (const MoistureUnitRow& row : kMoistureUnits) {
    if (EqualsIgnoringAsciiCase(text, row.Name)) return row.Index;
  }
  return std::nullopt;
}

std::optional<int> ParsePressureUnit(std::string_view text) {
  if (auto index = ParseListIndex(text, kPressureUnitCount)) return index;
  for (const PressureUnitRow& row : kPressureUnits) {
    if (EqualsIgnoringAsciiCase(text, row.Name)) return row.Index;
  }
  return std::nullopt;
}

std::string PressureUnitName(int index) {
  std::string name(kPressureUnits[static_cast<std::size_t>(index)].Name);
  for (char& c : name) c = LowerAscii(c);
  return name;
}

std::string MoistureUnitNameList() {
  std::string list;
  for (const MoistureUnitRow& row : kMoistureUnits) {
    if (!list.empty()) list += ", ";
    list += row.Name;
  }
  return list + " (or an index 0 to " + std::to_string(kMoistureUnitCount - 1) + ")";
}

std::string PressureUnitNameList() {
  std::string list;
  for (int i = 0; i < kPressureUnitCount; ++i) {
    if (!list.empty()) list += ", ";
    list += PressureUnitName(i);
  }
  return list + " (or an index 0 to " + std::to_string(kPressureUnitCount - 1) + ")";
}

}  // namespace tavimor
