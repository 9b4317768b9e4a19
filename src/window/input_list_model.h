#pragma once

#include <QAbstractListModel>
#include <span>
#include <vector>

#include "support/text/text.h"

namespace brevant {

// The rows of the input list as the list on screen shows them: one path a row.
class InputListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void setHeader(const QString& header);
  const std::vector<Text>& paths() const { return paths_; }
  void append(std::span<const Text> paths);
  void remove(int row);
  void clear();
  // Gives a row another text (row dragging exchanges texts).
  void setPath(int row, Text path);

 private:
  std::vector<Text> paths_;
  QString header_;
};

}  // namespace brevant
