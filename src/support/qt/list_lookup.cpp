#include "support/qt/list_lookup.h"

namespace brevant {

bool ListViewContains(const QAbstractItemModel& rows, const QString& text) {
  const int count = rows.rowCount();
  for (int row = 0; row < count; ++row) {
    if (rows.data(rows.index(row, 0), Qt::DisplayRole).toString() == text) return true;
  }
  return false;
}

}  // namespace brevant
