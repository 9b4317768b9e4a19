#pragma once

#include <QPointer>
#include <QWidget>

namespace brevant {

// A frame around whichever control of the window has the keyboard focus, two
// pixels thick in the highlight colour: seen at a glance whatever the style or
// skin draws (Fusion's own focus marks are faint). It lies over the control's
// surroundings, never over the control, and takes no clicks.
class FocusFrame : public QWidget {
  Q_OBJECT

 public:
  explicit FocusFrame(QWidget* window);

  // The control it surrounds now; none while the focus is outside the window.
  QWidget* target() const { return target_; }

  // The part of a control that the frame goes around.
  static QRect FramedArea(const QWidget* control);

  // How far the frame reaches out around it, and its thickness.
  static constexpr int kReach = 3;
  static constexpr int kThickness = 2;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void follow(QWidget* focused);
  void place();

  QWidget* window_;
  QPointer<QWidget> target_;
};

}  // namespace brevant
