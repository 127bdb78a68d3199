#pragma once

#include <QWidget>

namespace tavimor {

class AnalogPanel : public QWidget {
  Q_OBJECT
 public:
  explicit AnalogPanel(QWidget* parent = nullptr);
};

}  // namespace tavimor
