#pragma once

// Helpers for driving a category panel like a user: it sits in a window beside a button
// that holds the keyboard focus, so focus changes happen only when a test makes them.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

namespace tavimor::test {

template <class T>
T* Control(QWidget* panel, int id) {
  return panel->findChild<T*>(QString::number(id));
}

template <class PanelT>
struct PanelHost {
  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  QPushButton* outside = new QPushButton(QStringLiteral("outside"), window.get());
  PanelT* panel = new PanelT(window.get());

  PanelHost() {
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(outside);
    layout->addWidget(panel);
  }

  // Shows the window with the focus on the outside button; false if the platform failed.
  bool show() {
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return false;
    window->activateWindow();
    outside->setFocus();
    return QTest::qWaitForWindowActive(window.get());
  }
};

// Picks list entry index through the opened list, as a click on it would: one selection
// change, whatever lies between the old and the new entry.
inline void Pick(QComboBox* list, int index) {
  list->showPopup();
  QAbstractItemView* view = list->view();
  view->setCurrentIndex(list->model()->index(index, 0));
  QTest::keyClick(view, Qt::Key_Return);
  if (list->view()->isVisible()) list->hidePopup();
}

// The position in the text of the character shown at the field's left edge, once painted: 0
// when the field shows the start of its text.
inline int FirstVisiblePosition(QLineEdit* field) {
  field->grab();
  return field->cursorPositionAt(QPoint(field->contentsRect().left() + 3, field->height() / 2));
}

// Replaces the text of an edit field by typing, as select-all and typing would.
inline void Retype(QLineEdit* field, const QString& text) {
  field->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(field, Qt::Key_Delete);
  } else {
    QTest::keyClicks(field, text);
  }
}

}  // namespace tavimor::test
