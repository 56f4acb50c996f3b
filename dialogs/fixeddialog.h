// What the two information dialogs share: a fixed frame with only a close button, centring on
// the screen at each showing, and an Esc key that closes nothing.
#pragma once

#include <QSize>

class QDialog;
class QKeyEvent;
class QWidget;

namespace dialogs {

// Fixes the client area and leaves the title bar only its system menu and close button.
void MakeFixedDialog(QDialog* dialog, QSize clientSize);

// Moves a top-level window so that its client area sits in the middle of its screen's work area.
void CentreOnScreen(QWidget* window);

// True for a bare Esc: the dialogs swallow it instead of closing.
bool IsBareEscape(const QKeyEvent* event);

}  // namespace dialogs
