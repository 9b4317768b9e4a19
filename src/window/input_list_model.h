#pragma once

#include <QAbstractListModel>
#include <vector>

#include "support/text.h"

namespace brevant {

// The rows of the input list: one path a row, in the order added, duplicates
// allowed, no limit on the count.
class InputListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void setHeader(const QString& header);
  const std::vector<Text>& paths() const { return paths_; }
  void append(Text path);
  void append(std::vector<Text> paths);
  void remove(int row);
  void clear();
  // Gives a row another text (row dragging exchanges texts).
  void setPath(int row, Text path);

 private:
  std::vector<Text> paths_;
  QString header_;
};

}  // namespace brevant
