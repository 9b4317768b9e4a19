#include "window/focus_frame.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>

namespace brevant {

QRect FocusFrame::FramedArea(const QWidget* control) {
  QRect area = control->geometry();
  // An option button or check box is often wider than its caption: the frame
  // holds the circle or box and the caption, not the empty room beside them.
  if (qobject_cast<const QRadioButton*>(control) != nullptr ||
      qobject_cast<const QCheckBox*>(control) != nullptr)
    area.setWidth(std::min(area.width(), control->sizeHint().width()));
  return area;
}

FocusFrame::FocusFrame(QWidget* window) : QWidget(window), window_(window) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusFrame::follow(QWidget* focused) {
  if (target_ != nullptr) target_->removeEventFilter(this);
  const bool inWindow = focused != nullptr && focused != window_ && window_->isAncestorOf(focused);
  target_ = inWindow ? focused : nullptr;
  if (target_ == nullptr) {
    hide();
    return;
  }
  target_->installEventFilter(this);  // it may move, grow, hide or go
  setParent(target_->parentWidget());
  place();
}

void FocusFrame::place() {
  if (target_ == nullptr || !target_->isVisible()) {
    hide();
    return;
  }
  setGeometry(FramedArea(target_).adjusted(-kReach, -kReach, kReach, kReach));
  // The control stays on top: the frame shows only around it.
  stackUnder(target_);
  show();
  update();
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == target_) {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
        place();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void FocusFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QPen pen(palette().color(QPalette::Active, QPalette::Highlight), kThickness);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  const qreal half = kThickness / 2.0;
  painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

}  // namespace brevant
