#include "window/window_system_watch.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace brevant {

namespace {

std::uint32_t Intern(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (reply == nullptr) return 0;
  const std::uint32_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

std::optional<WindowSystemWatch::CloseAtoms> WindowSystemWatch::DisplayCloseAtoms() {
  const auto* x11 = qApp == nullptr ? nullptr : qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return std::nullopt;
  CloseAtoms atoms{Intern(x11->connection(), "WM_PROTOCOLS"), Intern(x11->connection(), "WM_DELETE_WINDOW")};
  if (atoms.protocols == 0 || atoms.deleteWindow == 0) return std::nullopt;
  return atoms;
}

WindowSystemWatch::WindowSystemWatch(std::uint32_t window, CloseAtoms atoms, std::function<bool()> boxUp,
                                     std::function<void()> gone)
    : window_(window), atoms_(atoms), boxUp_(std::move(boxUp)), gone_(std::move(gone)) {}

bool WindowSystemWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (reported_ || eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  bool gone = false;
  bool consumed = false;
  switch (event->response_type & 0x7F) {
    case XCB_DESTROY_NOTIFY:
      gone = reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == window_;
      break;
    case XCB_CLIENT_MESSAGE: {
      const auto* request = reinterpret_cast<const xcb_client_message_event_t*>(event);
      gone = consumed = request->window == window_ && request->format == 32 &&
                        request->type == atoms_.protocols && request->data.data32[0] == atoms_.deleteWindow &&
                        boxUp_();
      break;
    }
    default:
      break;
  }
  if (gone) {
    reported_ = true;
    gone_();
  }
  return consumed;
}

}  // namespace brevant
