// The window's watch on the X server: which events mean that the window went
// without a close reaching it.
#include "window/window_system_watch.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <cstring>

namespace brevant::test {
namespace {

constexpr std::uint32_t kWindow = 0x200006;
constexpr WindowSystemWatch::CloseAtoms kAtoms{301, 302};
constexpr std::uint32_t kPing = 303;

xcb_destroy_notify_event_t Destroyed(std::uint32_t window) {
  xcb_destroy_notify_event_t event;
  std::memset(&event, 0, sizeof event);
  event.response_type = XCB_DESTROY_NOTIFY;
  event.event = window;
  event.window = window;
  return event;
}

xcb_client_message_event_t Request(std::uint32_t window, std::uint32_t type, std::uint32_t protocol) {
  xcb_client_message_event_t event;
  std::memset(&event, 0, sizeof event);
  event.response_type = XCB_CLIENT_MESSAGE | 0x80;  // sent by another client
  event.format = 32;
  event.window = window;
  event.type = type;
  event.data.data32[0] = protocol;
  return event;
}

TEST(WindowSystemWatch, TheWindowGoesWhenDestroyedOrAskedToCloseBehindABox) {
  xcb_destroy_notify_event_t destroyed = Destroyed(kWindow);
  xcb_destroy_notify_event_t otherDestroyed = Destroyed(kWindow + 1);
  xcb_client_message_event_t close = Request(kWindow, kAtoms.protocols, kAtoms.deleteWindow);
  xcb_client_message_event_t ping = Request(kWindow, kAtoms.protocols, kPing);
  xcb_client_message_event_t otherClose = Request(kWindow + 1, kAtoms.protocols, kAtoms.deleteWindow);
  const struct {
    const char* name;
    const char* eventType;
    void* event;
    bool boxUp;
    bool gone;
    bool consumed;  // kept from the toolkit, which would drop it
  } cases[] = {
      {"destroyed", "xcb_generic_event_t", &destroyed, false, true, false},
      {"destroyed behind a box", "xcb_generic_event_t", &destroyed, true, true, false},
      {"another window destroyed", "xcb_generic_event_t", &otherDestroyed, false, false, false},
      {"close, no box: the toolkit's", "xcb_generic_event_t", &close, false, false, false},
      {"close behind a box", "xcb_generic_event_t", &close, true, true, true},
      {"ping behind a box", "xcb_generic_event_t", &ping, true, false, false},
      {"close of another window", "xcb_generic_event_t", &otherClose, true, false, false},
      {"not an X event", "windows_generic_MSG", &destroyed, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int gone = 0;
    WindowSystemWatch watch(
        kWindow, kAtoms, [&c] { return c.boxUp; }, [&gone] { ++gone; });
    EXPECT_EQ(watch.nativeEventFilter(QByteArray(c.eventType), c.event, nullptr), c.consumed);
    EXPECT_EQ(gone, c.gone ? 1 : 0);
    // Whatever follows, the window goes once.
    watch.nativeEventFilter(QByteArrayLiteral("xcb_generic_event_t"), &destroyed, nullptr);
    EXPECT_EQ(gone, 1);
  }
}

}  // namespace
}  // namespace brevant::test
