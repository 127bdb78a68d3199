#include "ui/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace tavimor {

UiServices DefaultUiServices() {
  UiServices services;
  services.beep = [] { QApplication::beep(); };
  services.showInformation = [](QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::Ok, parent);
    box.exec();
  };
  services.showWarning = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
  };
  services.runDialog = [](QDialog& dialog) { return dialog.exec(); };
  return services;
}

}  // namespace tavimor
