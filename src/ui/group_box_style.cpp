#include "ui/group_box_style.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionGroupBox>

namespace tavimor {

namespace {

// The title starts this far from the frame's left edge, with one pixel of background on
// each side of it that the frame does not cross.
constexpr int kTitleIndent = 7;

class ClassicGroupBoxStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget) const override {
    const auto* box = classicBox(control, option);
    if (!box) return QProxyStyle::subControlRect(control, option, sub, widget);
    const QRect& r = box->rect;
    const int textHeight = box->fontMetrics.height();
    switch (sub) {
      case SC_GroupBoxFrame:
        // The top line at half the text's height, less one, as the classic button draws it.
        return r.adjusted(0, textHeight / 2 - 1, 0, 0);
      case SC_GroupBoxLabel:
        return QRect(r.left() + kTitleIndent, r.top(),
                     box->fontMetrics.horizontalAdvance(box->text), textHeight);
      case SC_GroupBoxContents:
        return r.adjusted(2, textHeight, -2, -2);
      default:
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
  }

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    const auto* box = classicBox(control, option);
    if (!box) {
      QProxyStyle::drawComplexControl(control, option, painter, widget);
      return;
    }
    const QRect frame = subControlRect(control, box, SC_GroupBoxFrame, widget);
    const QRect label = subControlRect(control, box, SC_GroupBoxLabel, widget);
    const bool titled = !box->text.isEmpty() && (box->subControls & SC_GroupBoxLabel);
    painter->save();
    if (box->subControls & SC_GroupBoxFrame) {
      if (titled) {
        painter->setClipRegion(QRegion(box->rect).subtracted(label.adjusted(-1, 0, 1, 0)));
      }
      // Etched: a shadow line with a highlight one pixel right of and below it, as the
      // panels' etched lines.
      painter->setPen(box->palette.color(QPalette::Dark));
      painter->drawRect(frame.adjusted(0, 0, -2, -2));
      painter->setPen(box->palette.color(QPalette::Light));
      painter->drawRect(frame.adjusted(1, 1, -1, -1));
      painter->setClipping(false);
    }
    if (titled) {
      proxy()->drawItemText(painter, label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                            box->palette, box->state & State_Enabled, box->text,
                            QPalette::WindowText);
    }
    painter->restore();
  }

 private:
  // The group boxes drawn here: those without a check box (none of the program's has one).
  static const QStyleOptionGroupBox* classicBox(ComplexControl control,
                                                const QStyleOptionComplex* option) {
    if (control != CC_GroupBox) return nullptr;
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    return box && !(box->subControls & SC_GroupBoxCheckBox) ? box : nullptr;
  }
};

}  // namespace

QStyle* GroupBoxStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = new ClassicGroupBoxStyle(QApplication::style()->name());
    style->setParent(qApp);
  }
  return style;
}

}  // namespace tavimor
