#include "dialogs/fixeddialog.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace dialogs {

void MakeFixedDialog(QDialog* dialog, QSize clientSize) {
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
  dialog->setFixedSize(clientSize);
  dialog->setSizeGripEnabled(false);
}

void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QSize size = window->size();
  window->move(area.x() + (area.width() - size.width()) / 2,
               area.y() + (area.height() - size.height()) / 2);
}

bool IsBareEscape(const QKeyEvent* event) {
  return event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
}

}  // namespace dialogs
