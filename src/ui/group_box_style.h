#pragma once

class QStyle;

namespace tavimor {

// The style every group box is drawn in: the frame is an etched rectangle whose top line
// runs through the middle of the title, interrupted where the title stands, as the classic
// platform draws it. Everything else is the application's style. One instance for the
// program, owned by the application.
QStyle* GroupBoxStyle();

}  // namespace tavimor
