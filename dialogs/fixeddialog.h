// The base of the two information dialogs: a fixed client area, a title bar with only its
// system menu and close button, the Song face, centring on the screen at each showing, and an
// Esc key that closes nothing.
#pragma once

#include <QDialog>

class QKeyEvent;
class QShowEvent;

namespace dialogs {

class FixedDialog : public QDialog {
  Q_OBJECT
 protected:
  FixedDialog(QWidget* parent, const QString& caption, QSize clientSize, int fontPixels);

  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
};

}  // namespace dialogs
