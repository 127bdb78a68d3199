#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <string_view>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QObject;
class QRadioButton;
class QWidget;

namespace tavimor {

// Builders for the controls of a panel template: each control sits at its dialog-unit
// rectangle, carries its identifier as objectName and has an accessible name.

// A text of the Qt-free layers (UTF-8) as a control shows it.
QString TextOf(std::string_view text);

// Identifier and accessible name of a control; a control without identifier keeps no name.
void NameControl(QWidget* control, int id, const QString& accessibleName);

// Identifiers every dialog or panel uses alike.
enum SharedControl : int {
  kOkButton = 1,
  kCancelButton = 2,
  kDecorationControl = 1048,  // the picture every panel shows
};

// The picture control showing bitmap 137.
QLabel* AddDecoration(QWidget* panel, const QRect& rect);

// A static text, top-left aligned; wrapped at word boundaries when it has room for more
// than one line, as the classic static control does.
QLabel* AddStaticText(QWidget* panel, int id, const QString& text, const QRect& rect);

QGroupBox* AddGroupBox(QWidget* panel, const QString& title, const QRect& rect);

QLineEdit* AddEditField(QWidget* panel, int id, const QRect& rect, const QString& accessibleName,
                        bool readOnly = false);

// Writes a text into an edit field as the classic edit control takes it: the caret goes to the
// start, so a text wider than the field shows its beginning (a sign, a leading digit).
void SetFieldText(QLineEdit* field, const QString& text);

// An option button in its group, as wide as the style needs for its text (which may exceed
// the template's rectangle); a text with line feeds shows them as line breaks.
QRadioButton* AddOptionButton(QWidget* panel, QButtonGroup* group, int id, const QString& text,
                              const QRect& rect);

// A drop-down list; rect's height is that of the opened list, the closed box is one line.
QComboBox* AddDropDownList(QWidget* panel, int id, const QRect& rect,
                           const QString& accessibleName);

// Calls notify for every notification of an edit field: its text changed (typed or set),
// and equally its gaining or losing the keyboard focus. The notifications stop when context
// is destroyed; a panel passes a member object, so a field losing the focus while the panel
// is being destroyed calls nothing.
void OnEveryEditNotification(QLineEdit* field, QObject* context, std::function<void()> notify);

// The same notifications apart: onText with the field's new text, onFocus when the field
// gains or loses the keyboard focus.
void OnEditNotifications(QLineEdit* field, QObject* context,
                         std::function<void(const QString& text)> onText,
                         std::function<void()> onFocus);

// The same for a drop-down list: its selection changed or was picked again, and its gaining or
// losing the keyboard focus.
void OnEveryListNotification(QComboBox* list, QObject* context, std::function<void()> notify);

}  // namespace tavimor
