#include "window/progress_display.h"

#include <QAccessible>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace brevant {

ProgressDisplay::ProgressDisplay(QWidget* parent) : QWidget(parent) {}

void ProgressDisplay::setPosition(double position) {
  position = std::clamp(position, 0.0, 100.0);
  if (position == position_) return;
  position_ = position;
  update();
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent changed(this, position_);
    QAccessible::updateAccessibility(&changed);
  }
}

void ProgressDisplay::setCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
  if (QAccessible::isActive()) {
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
  }
}

void ProgressDisplay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  QRectF done = frame.adjusted(1, 1, -1, -1);
  done.setWidth(done.width() * position_ / 100.0);
  painter.fillRect(done, palette().color(QPalette::Highlight).lighter(150));
  // The edge stands out from the bar under any palette: a high-contrast one draws it in the text's colour.
  const QColor edge = palette().color(QPalette::Mid);
  const bool edgeShows = std::abs(edge.lightness() - palette().color(QPalette::Base).lightness()) >= 64;
  painter.setPen(edgeShows ? edge : palette().color(QPalette::Text));
  painter.drawRect(frame);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine,
                   fontMetrics().elidedText(caption_, Qt::ElideMiddle, width() - 8));
}

}  // namespace brevant
