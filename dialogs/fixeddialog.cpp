#include "dialogs/fixeddialog.h"

#include <QKeyEvent>

#include "dialogs/songfont.h"
#include "dialogs/windowplace.h"

namespace dialogs {

FixedDialog::FixedDialog(QWidget* parent, const QString& caption, QSize clientSize, int fontPixels)
    : QDialog(parent) {
  setWindowTitle(caption);
  setFont(SongFont(fontPixels));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(clientSize);
  setSizeGripEnabled(false);
}

void FixedDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void FixedDialog::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  QDialog::showEvent(event);
}

}  // namespace dialogs
