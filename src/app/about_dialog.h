#pragma once

#include <QDialog>

namespace tavimor {

// Dialog 103: program name, version and what the program does.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent);
};

}  // namespace tavimor
