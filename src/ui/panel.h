#pragma once

#include <QPixmap>
#include <QShowEvent>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialog_focus.h"

namespace tavimor {

// Optional base of a category panel. The main window finds these through qobject_cast; a
// panel that is a plain QWidget gets update() for refresh() and saves no keys.
class Panel : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // CalcSettings changed in a preference dialog: recompute and repaint.
  virtual void refresh() { update(); }

  // The keys and values Save Selections writes while this panel is shown (the store's
  // SavedKeys), in writing order, without ConvCategory (the dialog appends it). Empty: only
  // ConvCategory is written.
  virtual std::vector<std::pair<std::string, std::string>> savedSelectionKeys() const { return {}; }

  // The second line of the main window's text strip, below the motto, while this panel is
  // shown; empty: the program's own line.
  virtual QString statusLine() const { return {}; }

 signals:
  // statusLine() may give another text now.
  void statusLineChanged();

 protected:
  // For a panel whose initialisation is reported as handled: the platform then gives the
  // default focus, once, as the panel first appears. Other panels leave the focus alone.
  void leaveFocusToPlatform() { m_defaultFocusPending = true; }

  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    if (!m_defaultFocusPending) return;
    m_defaultFocusPending = false;
    GiveDefaultFocus(this);
  }

 private:
  bool m_defaultFocusPending = false;
};

// Bitmap 137 (63 x 102 pixels), the decoration every panel shows.
QPixmap DecorationBitmap();

// Icons 107 (large) and 108 (small).
QPixmap LargeIcon();
QPixmap SmallIcon();

}  // namespace tavimor
