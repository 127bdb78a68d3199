#pragma once

#include <QWidget>

#include "app/app_state.h"
#include "ui/panel.h"

namespace tavimor {

// Creates the panel of a kind as a child of parent, from its initial state; none for a kind
// without a panel.
Panel* CreatePanel(PanelKind kind, AppState& state, QWidget* parent);

}  // namespace tavimor
