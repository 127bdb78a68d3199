#include "ui/dialog_focus.h"

#include <QLineEdit>
#include <QWidget>

namespace tavimor {

QWidget* GiveDefaultFocus(QWidget* dialog) {
  for (QWidget* w = dialog->nextInFocusChain(); w && w != dialog; w = w->nextInFocusChain()) {
    const bool tabStop = (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
    if (!tabStop || !dialog->isAncestorOf(w) || !w->isEnabled() || !w->isVisibleTo(dialog)) {
      continue;
    }
    w->setFocus(Qt::OtherFocusReason);
    if (auto* field = qobject_cast<QLineEdit*>(w)) field->selectAll();
    return w;
  }
  return nullptr;
}

}  // namespace tavimor
