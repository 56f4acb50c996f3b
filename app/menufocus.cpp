#include "app/menufocus.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

namespace app {
namespace {

class EscapeWatch : public QObject {
 public:
  explicit EscapeWatch(QMenuBar* bar) : QObject(bar), bar_(bar) {
    // The control to return to: the last one of the window that had the keyboard, neither
    // the bar nor a menu.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
      if (now != nullptr && now != bar_ && qobject_cast<QMenu*>(now) == nullptr &&
          now->window() == bar_->window()) {
        control_ = now;
      }
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      // Once the menu has closed and Qt has done with the keyboard, it goes back.
      QTimer::singleShot(0, this, [this] { GiveBack(); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void GiveBack() {
    if (bar_ == nullptr || QApplication::activePopupWidget() != nullptr) return;
    if (bar_->hasFocus()) {
      // The bar keeps its item lit and the keyboard until it is told Esc itself.
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(bar_, &escape);
    }
    QWidget* focus = QApplication::focusWidget();
    if (control_ == nullptr || (focus != nullptr && focus != bar_)) return;
    QWidget* window = bar_->window();
    if (!window->isActiveWindow()) window->activateWindow();
    control_->setFocus(Qt::MenuBarFocusReason);
  }

  QPointer<QMenuBar> bar_;
  QPointer<QWidget> control_;
};

}  // namespace

void ReturnFocusAfterMenus(QMenuBar* bar) {
  auto* watch = new EscapeWatch(bar);
  for (QAction* action : bar->actions()) {
    if (QMenu* menu = action->menu()) menu->installEventFilter(watch);
  }
}

}  // namespace app
