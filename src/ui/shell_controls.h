#pragma once

#include <QString>

class QButtonGroup;
class QPushButton;
class QRect;
class QWidget;

namespace tavimor {

// The label of a control as a screen reader should say it: no '&' markers, no line breaks.
QString AccessibleText(const QString& text);

// A push button laid out by its dialog-unit rectangle, named by its identifier.
QPushButton* MakePushButton(QWidget* parent, int id, const QString& text, const QRect& rect);

// A push-like option button (a toggle that looks pressed while chosen), added to the group
// under its identifier so checkedId() is the identifier to store.
QPushButton* MakeOptionButton(QWidget* parent, QButtonGroup* group, int id, const QString& text,
                              const QRect& rect);

}  // namespace tavimor
