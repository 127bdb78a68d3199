#pragma once

#include <QWidget>

namespace tavimor {

class PressurePanel : public QWidget {
  Q_OBJECT
 public:
  explicit PressurePanel(QWidget* parent = nullptr);
};

}  // namespace tavimor
