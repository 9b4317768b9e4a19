#pragma once

#include <QAbstractItemModel>
#include <QString>

namespace brevant {

// True when the text of some row (first column) equals the text exactly,
// letter case included.
bool ListViewContains(const QAbstractItemModel& rows, const QString& text);

}  // namespace brevant
