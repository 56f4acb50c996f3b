#include "dialogs/desktophints.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>

#include "dialogs/x11window.h"

namespace dialogs {
namespace {

// The desktop entry's name and the program's: taskbars match windows to the entry by them.
constexpr char kClassInstance[] = TREVANA_APP_ID;
constexpr char kClassName[] = TREVANA_PROGRAM_NAME;

// A window manager answers at once; the wait only matters on a badly loaded machine.
constexpr int kFrameAnswerMs = 1000;

bool IsFramedWindow(const QWidget* widget) {
  if (!widget->isWindow()) return false;
  const Qt::WindowFlags flags = widget->windowFlags();
  const Qt::WindowType type = widget->windowType();
  return (type == Qt::Window || type == Qt::Dialog) && !(flags & Qt::FramelessWindowHint) &&
         !(flags & Qt::BypassWindowManagerHint);
}

// As Qt derives them from the flags, except that a window whose size is fixed can neither be
// resized nor maximised.
MotifHints HintsFor(const QWidget* window) {
  const Qt::WindowFlags flags = window->windowFlags();
  // A message box fixes its size only after this point, as it is shown.
  const bool resizable = window->minimumSize() != window->maximumSize() &&
                         qobject_cast<const QMessageBox*>(window) == nullptr;
  MotifHints hints{kMwmFuncMove, kMwmDecorBorder | kMwmDecorTitle};
  if (flags & Qt::WindowSystemMenuHint) hints.decorations |= kMwmDecorMenu;
  if (flags & Qt::WindowCloseButtonHint) hints.functions |= kMwmFuncClose;
  if (flags & Qt::WindowMinimizeButtonHint) {
    hints.functions |= kMwmFuncMinimize;
    hints.decorations |= kMwmDecorMinimize;
  }
  if (resizable) {
    hints.functions |= kMwmFuncResize;
    hints.decorations |= kMwmDecorResizeHandle;
    if (flags & Qt::WindowMaximizeButtonHint) {
      hints.functions |= kMwmFuncMaximize;
      hints.decorations |= kMwmDecorMaximize;
    }
  }
  return hints;
}

// The box sizes itself to the widest row of its layout each time it is shown; its row of
// buttons is made as wide as the caption needs.
void WidenToCaption(QMessageBox* box) {
  auto* buttons = box->findChild<QDialogButtonBox*>();
  if (buttons == nullptr || box->layout() == nullptr) return;
  const QMargins margins = box->layout()->contentsMargins();
  buttons->setMinimumWidth(WidthForCaption(box->windowTitle()) - margins.left() - margins.right());
}

}  // namespace

DesktopHints::DesktopHints(QWidget* mainWindow) : QObject(mainWindow), mainWindow_(mainWindow) {
  qApp->installEventFilter(this);
}

bool DesktopHints::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
  auto* window = static_cast<QWidget*>(watched);
  if (!IsFramedWindow(window)) return false;
  if (auto* box = qobject_cast<QMessageBox*>(window)) WidenToCaption(box);
  QWindow* handle = window->windowHandle();
  if (window->isModal() && window != mainWindow_ && mainWindow_ != nullptr && handle != nullptr &&
      handle->transientParent() == nullptr) {
    handle->setTransientParent(mainWindow_->windowHandle());
  }
  WriteMotifHints(window, HintsFor(window));
  WriteClassHint(window, kClassInstance, kClassName);
  return false;
}

int WidthForCaption(const QString& caption) {
  // The platform's title-bar font where it reports one; else the application's, bold, as
  // window managers draw captions.
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  if (font == QApplication::font()) font.setBold(true);
  const QFontMetrics metrics(font);
  // Title-bar buttons are about as wide as the bar is high: the icon on the left; on the right
  // the close button and the two that some window managers draw on every window (openbox
  // keeps minimise and maximise), and a button's width of space around the caption.
  const int button = metrics.height() + 6;
  return metrics.horizontalAdvance(caption) + 5 * button;
}

QMargins FrameMargins(QWidget* window) {
  if (const QWindow* handle = window->windowHandle()) {
    const QMargins reported = handle->frameMargins();
    if (!reported.isNull()) return reported;
  }
  return AskFrameExtents(window, kFrameAnswerMs).value_or(QMargins());
}

}  // namespace dialogs
