#include "window/progress_accessible.h"

#include <QAccessibleWidget>
#include <cmath>

#include "window/progress_display.h"

namespace brevant {

namespace {

class ProgressAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit ProgressAccessible(ProgressDisplay* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text kind) const override {
    switch (kind) {
      case QAccessible::Value:
        return QString::number(std::lround(bar()->position())) + QStringLiteral("%");
      case QAccessible::Description:
        return bar()->caption();
      default:
        return QAccessibleWidget::text(kind);
    }
  }

  QVariant currentValue() const override { return bar()->position(); }
  void setCurrentValue(const QVariant&) override {}  // only the run moves it
  QVariant maximumValue() const override { return 100.0; }
  QVariant minimumValue() const override { return 0.0; }
  QVariant minimumStepSize() const override { return 0.0; }

 private:
  ProgressDisplay* bar() const { return static_cast<ProgressDisplay*>(widget()); }
};

}  // namespace

QAccessibleInterface* ProgressAccessibleFactory(const QString&, QObject* object) {
  if (auto* bar = qobject_cast<ProgressDisplay*>(object)) return new ProgressAccessible(bar);
  return nullptr;
}

}  // namespace brevant
