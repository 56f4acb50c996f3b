#include "dialogs/windowplace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dialogs {

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect place(QPoint(), window->size());
  place.moveCenter(screen->availableGeometry().center());
  window->move(place.topLeft());
}

}  // namespace dialogs
