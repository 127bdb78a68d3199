#include "ui/panel_controls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <utility>

#include "ui/dialog_units.h"
#include "ui/group_box_style.h"
#include "ui/panel.h"

namespace tavimor {

namespace {

// The closed height of a drop-down list with the dialog font: font height plus frame.
constexpr int kClosedComboHeight = kDialogBaseUnitY + 8;

// Runs a callback when the watched widget gains or loses the keyboard focus.
class FocusNotifier : public QObject {
 public:
  FocusNotifier(QObject* watched, QObject* context, std::function<void()> notify)
      : QObject(context), m_notify(std::move(notify)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) m_notify();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> m_notify;
};

}  // namespace

QString TextOf(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void NameControl(QWidget* control, int id, const QString& accessibleName) {
  if (id > 0) control->setObjectName(QString::number(id));
  control->setAccessibleName(accessibleName);
}

QLabel* AddDecoration(QWidget* panel, const QRect& rect) {
  auto* picture = new QLabel(panel);
  NameControl(picture, kDecorationControl, QStringLiteral("Hygrometer picture"));
  picture->setGeometry(rect);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setPixmap(DecorationBitmap());
  return picture;
}

QLabel* AddStaticText(QWidget* panel, int id, const QString& text, const QRect& rect) {
  auto* label = new QLabel(text, panel);
  QString name = text;
  NameControl(label, id, name.replace(QLatin1Char('\n'), QLatin1Char(' ')));
  label->setGeometry(rect);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(rect.height() >= 2 * kDialogBaseUnitY);
  if (!label->wordWrap()) {
    // A few texts are some pixels wider in this font than in the classic one; a left-aligned
    // single line grows to the right instead of losing its last letters.
    label->resize(std::max(rect.width(), label->fontMetrics().horizontalAdvance(text) + 1),
                  rect.height());
  }
  return label;
}

QGroupBox* AddGroupBox(QWidget* panel, const QString& title, const QRect& rect) {
  auto* box = new QGroupBox(title, panel);
  box->setStyle(GroupBoxStyle());
  NameControl(box, 0, title);
  box->setGeometry(rect);
  box->setFocusPolicy(Qt::NoFocus);
  return box;
}

QLineEdit* AddEditField(QWidget* panel, int id, const QRect& rect, const QString& accessibleName,
                        bool readOnly) {
  auto* field = new QLineEdit(panel);
  NameControl(field, id, accessibleName);
  field->setGeometry(rect);
  if (readOnly) {
    field->setReadOnly(true);
    // A read-only edit field shows the face colour, as on the classic dialogs.
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
  }
  return field;
}

void SetFieldText(QLineEdit* field, const QString& text) {
  field->setText(text);
  field->setCursorPosition(0);
}

QComboBox* AddDropDownList(QWidget* panel, int id, const QRect& rect,
                           const QString& accessibleName) {
  auto* list = new QComboBox(panel);
  NameControl(list, id, accessibleName);
  list->setGeometry(rect.x(), rect.y(), rect.width(), kClosedComboHeight);
  return list;
}

void OnEveryEditNotification(QLineEdit* field, QObject* context, std::function<void()> notify) {
  OnEditNotifications(
      field, context, [notify](const QString&) { notify(); }, notify);
}

void OnEditNotifications(QLineEdit* field, QObject* context,
                         std::function<void(const QString& text)> onText,
                         std::function<void()> onFocus) {
  QObject::connect(field, &QLineEdit::textChanged, context, std::move(onText));
  new FocusNotifier(field, context, std::move(onFocus));
}

void OnEveryListNotification(QComboBox* list, QObject* context, std::function<void()> notify) {
  QObject::connect(list, &QComboBox::currentIndexChanged, context, [notify] { notify(); });
  QObject::connect(list, &QComboBox::activated, context, [notify] { notify(); });
  new FocusNotifier(list, context, std::move(notify));
}

QRadioButton* AddOptionButton(QWidget* panel, QButtonGroup* group, int id, const QString& text,
                              const QRect& rect) {
  auto* button = new QRadioButton(text, panel);
  QString name = text;
  NameControl(button, id, name.replace(QLatin1Char('\n'), QLatin1Char(' ')));
  button->setGeometry(rect.x(), rect.y(), std::max(rect.width(), button->sizeHint().width()),
                      rect.height());
  group->addButton(button, id);
  return button;
}

}  // namespace tavimor
