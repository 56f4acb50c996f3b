// The window manager's close button while a modal dialog stands over the main window. Qt drops
// a close request for a window that a modal dialog blocks, so the best packing's search, which
// stops and then closes the window when asked to close, would never hear of it. This watch
// hears the request on X11 and hands it to the window as a close event whenever `wanted` says
// the window takes one now; otherwise Qt's rule stands. Other platforms keep Qt's behaviour.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>

class QWidget;

namespace app {

class BlockedCloseWatch : public QObject, public QAbstractNativeEventFilter {
 public:
  // A child of window; watches the application's events from now until it is destroyed.
  BlockedCloseWatch(QWidget* window, std::function<bool()> wanted);
  ~BlockedCloseWatch() override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> window_;
  std::function<bool()> wanted_;
  std::uint32_t protocolsAtom_ = 0;     // WM_PROTOCOLS
  std::uint32_t deleteWindowAtom_ = 0;  // WM_DELETE_WINDOW
};

}  // namespace app
