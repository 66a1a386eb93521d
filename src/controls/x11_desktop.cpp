#include "controls/x11_desktop.h"

#include <QGuiApplication>
#include <QWindow>

#include <cstdlib>
#include <cstring>

#include "platform/log.h"

namespace vantorel {

#if defined(VANTOREL_HAVE_XCB)
xcb_connection_t* X11Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t X11Atom(xcb_connection_t* connection, const char* name) {
  const auto length = static_cast<uint16_t>(std::strlen(name));
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, length, name), nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}
#endif

bool FirstButtonAlreadyUp(QWindow* window) {
#if defined(VANTOREL_HAVE_XCB)
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr || window == nullptr) return false;
  const auto id = static_cast<xcb_window_t>(window->winId());
  xcb_query_pointer_reply_t* pointer =
      xcb_query_pointer_reply(connection, xcb_query_pointer(connection, id), nullptr);
  if (pointer == nullptr) return false;
  const bool up = (pointer->mask & XCB_BUTTON_MASK_1) == 0;
  std::free(pointer);
  return up;
#else
  (void)window;
  return false;
#endif
}

void CancelSystemMove(QWindow* window) {
#if defined(VANTOREL_HAVE_XCB)
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr || window == nullptr) return;
  const auto id = static_cast<xcb_window_t>(window->winId());
  xcb_query_tree_reply_t* tree =
      xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr);
  if (tree == nullptr) return;
  const xcb_window_t root = tree->root;
  std::free(tree);
  const xcb_atom_t moveResize = X11Atom(connection, "_NET_WM_MOVERESIZE");
  if (moveResize == xcb_atom_t{XCB_ATOM_NONE}) return;

  // The window manager's own way out of this race: the same request with the direction
  // "cancel", from a normal application.
  constexpr uint32_t kCancel = 11;
  constexpr uint32_t kButton1 = 1;
  constexpr uint32_t kFromApplication = 1;
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = id;
  message.type = moveResize;
  message.data.data32[2] = kCancel;
  message.data.data32[3] = kButton1;
  message.data.data32[4] = kFromApplication;
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
  platform::Log(
      "drag: the button came up before the window manager took the pointer; its move "
      "is called off");
#else
  (void)window;
#endif
}

}  // namespace vantorel
