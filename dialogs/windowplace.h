// Where a top-level window goes on the desktop.
#pragma once

class QWidget;

namespace dialogs {

// Moves a top-level window so that it sits, frame and title bar included, in the middle of its
// screen's work area.
void CentreOnScreen(QWidget* window);

}  // namespace dialogs
