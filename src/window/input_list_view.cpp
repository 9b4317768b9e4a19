#include "window/input_list_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <algorithm>

#include "form/main_form.h"
#include "support/qt/qt_text.h"
#include "window/input_list_model.h"

namespace brevant {

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

void InputListView::showDragCursor(bool dragging) {
  if (dragging) {
    viewport()->setCursor(dragCursor_);
  } else {
    viewport()->unsetCursor();
  }
}

int InputListView::selectedRow() const {
  const QModelIndexList selected = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
  return selected.isEmpty() ? -1 : selected.front().row();
}

std::optional<std::size_t> InputListView::selected() const {
  const int row = selectedRow();
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

std::optional<std::size_t> InputListView::rowAt(const QPoint& position) const {
  const QModelIndex index = indexAt(position);
  if (!index.isValid()) return std::nullopt;
  return static_cast<std::size_t>(index.row());
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
  std::vector<Text> dropped;
  for (const QString& path : paths) dropped.push_back(ToText(path));
  if (form_ != nullptr) form_->filesDropped(dropped);
}

void InputListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    if (form_ != nullptr) form_->listKeyPressed(MainForm::kDeleteKey, selected());
    return;
  }
  QTreeView::keyPressEvent(event);
}

void InputListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  if (form_ != nullptr) form_->listDoubleClicked(selected());
}

void InputListView::mousePressEvent(QMouseEvent* event) {
  QTreeView::mousePressEvent(event);
  if (form_ != nullptr) form_->listButtonPressed(rowAt(event->position().toPoint()));
}

void InputListView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  const QRect area = viewport()->rect();
  // A pointer above or below the rows still moves the row at that edge.
  const QPoint inside(std::clamp(position.x(), 0, area.width() - 1),
                      std::clamp(position.y(), 0, area.height() - 1));
  if (form_ != nullptr && form_->listPointerMoved(rowAt(inside), position.y(), area.height()))
    return;  // no rubber-band selection while a row travels
  QTreeView::mouseMoveEvent(event);
}

void InputListView::mouseReleaseEvent(QMouseEvent* event) {
  if (form_ != nullptr) form_->listButtonReleased();
  QTreeView::mouseReleaseEvent(event);
}

}  // namespace brevant
