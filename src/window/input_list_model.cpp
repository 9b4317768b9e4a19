#include "window/input_list_model.h"

#include "support/qt/qt_text.h"

namespace brevant {

int InputListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(paths_.size());
}

QVariant InputListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<std::size_t>(index.row()) >= paths_.size()) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  return ToQString(paths_[static_cast<std::size_t>(index.row())]);
}

QVariant InputListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return header_;
  return {};
}

void InputListModel::setHeader(const QString& header) {
  header_ = header;
  emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void InputListModel::append(std::span<const Text> paths) {
  if (paths.empty()) return;
  const int first = static_cast<int>(paths_.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(paths.size()) - 1);
  paths_.insert(paths_.end(), paths.begin(), paths.end());
  endInsertRows();
}

void InputListModel::remove(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= paths_.size()) return;
  beginRemoveRows(QModelIndex(), row, row);
  paths_.erase(paths_.begin() + row);
  endRemoveRows();
}

void InputListModel::clear() {
  beginResetModel();
  paths_.clear();
  endResetModel();
}

void InputListModel::setPath(int row, Text path) {
  if (row < 0 || static_cast<std::size_t>(row) >= paths_.size()) return;
  paths_[static_cast<std::size_t>(row)] = std::move(path);
  emit dataChanged(index(row), index(row));
}

}  // namespace brevant
