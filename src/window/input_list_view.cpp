#include "window/input_list_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <algorithm>

#include "window/input_list_model.h"

namespace brevant {

namespace {
// The share of the rows area at its top and bottom where a row drag scrolls.
constexpr int kScrollZoneParts = 5;
}  // namespace

QStringList LocalPaths(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) paths.push_back(url.toLocalFile());
  }
  return paths;
}

InputListView::InputListView(QWidget* parent) : QTreeView(parent) {
  setRootIsDecorated(false);
  header()->setStretchLastSection(false);  // the column keeps its width; the user widens it
  setUniformRowHeights(true);
  setItemsExpandable(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(false);  // rows never leave the list
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setMouseTracking(true);
}

void InputListView::setInputModel(InputListModel* model) {
  model_ = model;
  setModel(model);
}

int InputListView::selectedRow() const {
  const QModelIndexList selected = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
  return selected.isEmpty() ? -1 : selected.front().row();
}

void InputListView::dragEnterEvent(QDragEnterEvent* event) {
  if (LocalPaths(event->mimeData()).isEmpty()) {
    event->ignore();  // the no-drop pointer
    return;
  }
  event->acceptProposedAction();
}

void InputListView::dragMoveEvent(QDragMoveEvent* event) {
  if (LocalPaths(event->mimeData()).isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

void InputListView::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalPaths(event->mimeData());
  if (paths.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  emit pathsDropped(paths);
}

void InputListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    emit deletePressed();
    return;
  }
  QTreeView::keyPressEvent(event);
}

void InputListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  emit doubleClickedAnywhere();
}

void InputListView::mousePressEvent(QMouseEvent* event) {
  QTreeView::mousePressEvent(event);
  buttonHeld_ = true;
  // Only a row pressed now travels; a press beside the rows drags nothing.
  dragged_ = indexAt(event->position().toPoint());
  if (dragged_.isValid()) viewport()->setCursor(dragCursor_);
}

void InputListView::mouseMoveEvent(QMouseEvent* event) {
  emit pointerMoved();
  if (buttonHeld_) {
    dragRowTo(event->position().toPoint());
    return;  // no rubber-band selection while a row travels
  }
  QTreeView::mouseMoveEvent(event);
}

void InputListView::mouseReleaseEvent(QMouseEvent* event) {
  buttonHeld_ = false;
  viewport()->unsetCursor();
  QTreeView::mouseReleaseEvent(event);
}

void InputListView::dragRowTo(const QPoint& position) {
  if (model_ == nullptr || !dragged_.isValid()) return;
  const QRect area = viewport()->rect();
  // A pointer above or below the rows still moves the row at that edge.
  const QPoint inside(std::clamp(position.x(), 0, area.width() - 1),
                      std::clamp(position.y(), 0, area.height() - 1));
  const QModelIndex under = indexAt(inside);
  if (under.isValid() && under.row() != dragged_.row()) {
    const int from = dragged_.row();
    const int to = under.row();
    const Text draggedPath = model_->paths()[static_cast<std::size_t>(from)];
    const Text underPath = model_->paths()[static_cast<std::size_t>(to)];
    if (draggedPath != underPath) {
      model_->setPath(from, underPath);
      model_->setPath(to, draggedPath);
      setCurrentIndex(under);
      dragged_ = under;
    }
  }
  const int row = dragged_.row();
  const int zone = area.height() / kScrollZoneParts;
  if (position.y() < zone && row > 0) {
    scrollTo(model_->index(row - 1));
  } else if (position.y() >= area.height() - zone && row + 1 < model_->rowCount()) {
    scrollTo(model_->index(row + 1));
  }
}

}  // namespace brevant
