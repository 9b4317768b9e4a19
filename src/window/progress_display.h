#pragma once

#include <QString>
#include <QWidget>

namespace brevant {

// A progress bar on a scale of 0 to 100 that keeps fractions (33.33 and 66.67
// show different lengths) and shows a caption of any text on the bar.
class ProgressDisplay : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressDisplay(QWidget* parent = nullptr);

  double position() const { return position_; }
  void setPosition(double position);
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double position_ = 0;
  QString caption_;
};

}  // namespace brevant
