#pragma once

#include <QWidget>
#include <functional>

#include "app/app_state.h"
#include "ui/panel.h"

namespace tavimor {

// How the shell talks to whatever panel is shown.
struct PanelHooks {
  std::function<void()> refresh;                    // settings changed: recompute, repaint
  std::function<ProfileKeys()> savedSelectionKeys;  // keys for Save Selections, or none
};

struct CreatedPanel {
  QWidget* widget = nullptr;  // none: the panel area stays empty
  PanelHooks hooks;
};

// Creates the panel of a kind as a child of parent, from its initial state.
CreatedPanel CreatePanel(PanelKind kind, AppState& state, QWidget* parent);

}  // namespace tavimor
