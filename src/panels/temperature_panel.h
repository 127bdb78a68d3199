#pragma once

#include <QWidget>

namespace tavimor {

class TemperaturePanel : public QWidget {
  Q_OBJECT
 public:
  explicit TemperaturePanel(QWidget* parent = nullptr);
};

}  // namespace tavimor
