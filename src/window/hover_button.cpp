#include "window/hover_button.h"

#include <QMouseEvent>

namespace brevant {

HoverButton::HoverButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setMouseTracking(true);
}

void HoverButton::mouseMoveEvent(QMouseEvent* event) {
  QPushButton::mouseMoveEvent(event);
  emit pointerMoved();
  event->accept();
}

}  // namespace brevant
