#pragma once

class QWidget;

namespace tavimor {

// The focus the platform gives a dialog or panel whose initialisation leaves it to the
// platform: the first control in tab order that takes the focus from the keyboard; an edit
// field gets its whole text selected, so typing replaces it. Returns the control, or none.
// Called before the dialog is shown, the control receives the focus when the window is
// activated.
QWidget* GiveDefaultFocus(QWidget* dialog);

}  // namespace tavimor
