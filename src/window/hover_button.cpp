#include "window/hover_button.h"

#include <QKeyEvent>
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

void HoverButton::keyPressEvent(QKeyEvent* event) {
  // Both Enter keys, as on every desktop; a held key presses once.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (enter && modifiers == Qt::NoModifier) {
    event->accept();
    if (!event->isAutoRepeat()) click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace brevant
