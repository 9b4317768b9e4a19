#pragma once

#include <QPushButton>

namespace brevant {

// A push button that tells when the pointer moves over it. It keeps the move to
// itself, so the frame or window behind it does not take it for its own. Enter
// presses it when it has the focus, as Space does.
class HoverButton : public QPushButton {
  Q_OBJECT

 public:
  HoverButton(const QString& caption, QWidget* parent);

 signals:
  void pointerMoved();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace brevant
