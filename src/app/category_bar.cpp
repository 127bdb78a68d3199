#include "app/category_bar.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPushButton>

#include "app/shell_ids.h"
#include "store/profile_store.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"
#include "ui/shell_controls.h"

namespace tavimor {

std::optional<int16_t> ParseCategoryText(std::string_view text) {
  std::size_t i = 0;
  auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t firstDigit = i;
  long value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i++] - '0');
    if (value > 32768) return std::nullopt;
  }
  if (i == firstDigit) return std::nullopt;
  if (negative) value = -value;
  if (value > 32767) return std::nullopt;
  return static_cast<int16_t>(value);
}

CategoryBar::CategoryBar(AppState& state, QWidget* parent)
    : QFrame(parent), m_state(state), m_group(new QButtonGroup(this)) {
  setObjectName(QString::number(kCategoryBarTemplate));
  setAccessibleName(QStringLiteral("Conversion category"));
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setFont(DialogFont());
  m_group->setExclusive(true);

  struct Button {
    ConversionCategory id;
    const char* text;
    QRect rect;
  };
  const Button buttons[] = {
      {ConversionCategory::CategoryMoisture, "Moisture/Humidity", DialogRect(45, 6, 73, 17)},
      {ConversionCategory::CategoryTemperature, "Temperature", DialogRect(127, 6, 56, 17)},
      {ConversionCategory::CategoryPressure, "Pressure", DialogRect(192, 6, 43, 17)},
      {ConversionCategory::CategoryAnalog, "Analog Output", DialogRect(242, 6, 57, 17)},
      {ConversionCategory::CategoryGenerator, "DewPoint Generator", DialogRect(445, 5, 72, 17)},
  };
  for (const Button& b : buttons) {
    QPushButton* button = MakeOptionButton(this, m_group, static_cast<int>(b.id),
                                           QString::fromLatin1(b.text), b.rect);
    // The bar's buttons are not tab stops: Tab and the arrows stay inside the panel.
    button->setFocusPolicy(Qt::NoFocus);
    if (b.id == ConversionCategory::CategoryGenerator) button->hide();
  }
  AddStaticText(this, 0, QStringLiteral("Choose\nConversion\nCategory"), DialogRect(1, 1, 39, 29));
  AddStaticText(this, 0,
                QStringLiteral("Contact Velmorant if you think it would be useful to add other "
                               "unit conversions"),
                DialogRect(309, 6, 127, 23));

  connect(m_group, &QButtonGroup::idClicked, this, &CategoryBar::chooseCategory);
  restoreSavedCategory();
}

void CategoryBar::restoreSavedCategory() {
  const std::string text = ReadProfileString(m_state.IniFile, kProfileSection, "ConvCategory", 49);
  if (text.empty()) {
    m_state.Shell.SelectedCategory = static_cast<int16_t>(ConversionCategory::CategoryMoisture);
  } else if (auto id = ParseCategoryText(text)) {
    m_state.Shell.SelectedCategory = *id;
  }
  if (QAbstractButton* button = m_group->button(m_state.Shell.SelectedCategory)) {
    button->setChecked(true);
  }
  // Chosen once the event loop runs, exactly as if the user had clicked the button.
  QMetaObject::invokeMethod(
      this, [this] { chooseCategory(m_state.Shell.SelectedCategory); }, Qt::QueuedConnection);
}

void CategoryBar::chooseCategory(int id) {
  m_state.Shell.SelectedCategory = static_cast<int16_t>(id);
  switch (static_cast<ConversionCategory>(id)) {
    case ConversionCategory::CategoryMoisture:
      emit ShowMoisturePanel();
      break;
    case ConversionCategory::CategoryTemperature:
      emit ShowTemperaturePanel();
      break;
    case ConversionCategory::CategoryPressure:
      emit ShowPressurePanel();
      break;
    case ConversionCategory::CategoryAnalog:
      emit ShowAnalogPanel();
      break;
    case ConversionCategory::CategoryGenerator:
      emit ShowGeneratorPanel();
      break;
  }
}

}  // namespace tavimor
