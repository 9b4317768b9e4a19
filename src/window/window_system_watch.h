#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <optional>

namespace brevant {

// Notices when the X window system takes the window away in ways that never
// reach it as a close: another program destroyed it (the window then is gone,
// and the program would run on without one), or the window was asked to close
// while one of its boxes is up (the toolkit drops that request). Either way the
// program should end, as a close ends it.
class WindowSystemWatch final : public QAbstractNativeEventFilter {
 public:
  // The atoms of the close request: WM_PROTOCOLS carrying WM_DELETE_WINDOW.
  struct CloseAtoms {
    std::uint32_t protocols = 0;
    std::uint32_t deleteWindow = 0;
  };
  // The atoms of the display the program shows on; none without an X display.
  static std::optional<CloseAtoms> DisplayCloseAtoms();

  // `boxUp` says whether a box blocks the window now; `gone` is called once.
  WindowSystemWatch(std::uint32_t window, CloseAtoms atoms, std::function<bool()> boxUp,
                    std::function<void()> gone);

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  std::uint32_t window_;
  CloseAtoms atoms_;
  std::function<bool()> boxUp_;
  std::function<void()> gone_;
  bool reported_ = false;
};

}  // namespace brevant
