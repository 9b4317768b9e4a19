#pragma once

#include <QCursor>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QTreeView>

namespace brevant {

class InputListModel;

// The input list on screen: one column, one path a row. It turns the user's
// gestures into signals for the window (drops, Delete, double-click, pointer
// moves) and carries out row dragging itself: the dragged path travels one row
// at a time, each row it passes moving one step the other way, and the list
// scrolls while the pointer is in the top or bottom fifth of the rows (or
// beyond them).
class InputListView : public QTreeView {
  Q_OBJECT

 public:
  explicit InputListView(QWidget* parent = nullptr);

  void setInputModel(InputListModel* model);
  // The pointer while a row is dragged.
  void setDragCursor(const QCursor& cursor) { dragCursor_ = cursor; }
  // The selected row, or -1.
  int selectedRow() const;

 signals:
  // Local paths dropped onto the list, in order.
  void pathsDropped(const QStringList& paths);
  void deletePressed();
  void doubleClickedAnywhere();
  void pointerMoved();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void dragRowTo(const QPoint& position);

  InputListModel* model_ = nullptr;
  QCursor dragCursor_{Qt::DragMoveCursor};
  bool buttonHeld_ = false;
  QPersistentModelIndex dragged_;
};

// The local files among dropped data; empty when it holds none.
QStringList LocalPaths(const QMimeData* data);

}  // namespace brevant
