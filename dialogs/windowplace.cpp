#include "dialogs/windowplace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "dialogs/desktophints.h"

namespace dialogs {

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QMargins frame = FrameMargins(window);
  QRect outer(QPoint(), window->size().grownBy(frame));
  outer.moveCenter(screen->availableGeometry().center());
  window->setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), window->size()));
}

}  // namespace dialogs
