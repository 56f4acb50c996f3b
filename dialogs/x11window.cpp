#include "dialogs/x11window.h"

#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace dialogs {
namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* Connection() {
  auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t WindowId(QWidget* window) { return static_cast<xcb_window_t>(window->winId()); }

xcb_window_t RootOf(xcb_connection_t* connection, xcb_window_t window) {
  const ReplyPtr<xcb_query_tree_reply_t> tree(
      xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
  return tree ? tree->root : xcb_window_t{XCB_WINDOW_NONE};
}

// The 32-bit values of a window's property, empty when it has none.
std::basic_string<std::uint32_t> Cardinals(xcb_connection_t* connection, xcb_window_t window,
                                           xcb_atom_t property, xcb_atom_t type) {
  const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, property, type, 0, 64), nullptr));
  if (!reply || reply->format != 32 || reply->type != type) return {};
  const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

}  // namespace

void WriteMotifHints(QWidget* window, MotifHints hints) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return;
  constexpr std::uint32_t kFunctionsAndDecorations = 1u | 2u;  // MWM_HINTS_FUNCTIONS | _DECORATIONS
  const std::uint32_t value[5] = {kFunctionsAndDecorations, hints.functions, hints.decorations, 0,
                                  0};
  const xcb_atom_t atom = Atom(connection, "_MOTIF_WM_HINTS");
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, WindowId(window), atom, atom, 32, 5,
                      value);
  xcb_flush(connection);
}

void WriteClassHint(QWidget* window, const char* instance, const char* className) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return;
  // Two strings, each with its terminating zero.
  std::string value = std::string(instance) + '\0' + className + '\0';
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, WindowId(window), XCB_ATOM_WM_CLASS,
                      XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(value.size()), value.data());
  xcb_flush(connection);
}

std::optional<QMargins> AskFrameExtents(QWidget* window, int timeoutMs) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return std::nullopt;
  const xcb_window_t id = WindowId(window);
  const xcb_window_t root = RootOf(connection, id);
  const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
  // No window manager, no frame, and nobody to answer.
  if (Cardinals(connection, root, Atom(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW)
          .empty()) {
    return std::nullopt;
  }
  std::basic_string<std::uint32_t> answer = Cardinals(connection, id, extents, XCB_ATOM_CARDINAL);
  if (answer.size() != 4) {
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
    QElapsedTimer clock;
    clock.start();
    while (answer.size() != 4 && clock.elapsed() < timeoutMs) {
      QThread::msleep(5);
      answer = Cardinals(connection, id, extents, XCB_ATOM_CARDINAL);
    }
  }
  if (answer.size() != 4) return std::nullopt;
  // Left, right, top, bottom.
  return QMargins(static_cast<int>(answer[0]), static_cast<int>(answer[2]),
                  static_cast<int>(answer[1]), static_cast<int>(answer[3]));
}

}  // namespace dialogs
