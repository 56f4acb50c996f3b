#include "app/blockedclose.h"

#include <xcb/xcb.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <cstring>

namespace app {
namespace {

xcb_connection_t* Connection() {
  auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 != nullptr ? x11->connection() : nullptr;
}

std::uint32_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr);
  const std::uint32_t atom = reply != nullptr ? reply->atom : XCB_ATOM_NONE;
  std::free(reply);
  return atom;
}

}  // namespace

BlockedCloseWatch::BlockedCloseWatch(QWidget* window, std::function<bool()> wanted)
    : QObject(window), window_(window), wanted_(std::move(wanted)) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return;  // not X11: nothing to hear
  protocolsAtom_ = Atom(connection, "WM_PROTOCOLS");
  deleteWindowAtom_ = Atom(connection, "WM_DELETE_WINDOW");
  QCoreApplication::instance()->installNativeEventFilter(this);
}

BlockedCloseWatch::~BlockedCloseWatch() {
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
}

bool BlockedCloseWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                          qintptr* /*result*/) {
  if (eventType != "xcb_generic_event_t" || window_ == nullptr ||
      !window_->testAttribute(Qt::WA_WState_Created)) {
    return false;
  }
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
  const auto* request = static_cast<const xcb_client_message_event_t*>(message);
  if (request->window != static_cast<xcb_window_t>(window_->winId()) || request->format != 32 ||
      request->type != protocolsAtom_ || request->data.data32[0] != deleteWindowAtom_) {
    return false;
  }
  // An unblocked window gets the request from Qt itself.
  if (QGuiApplication::modalWindow() == nullptr || !wanted_()) return false;
  QCoreApplication::postEvent(window_, new QCloseEvent);
  return true;
}

}  // namespace app
