#pragma once

#include <QCursor>
#include <QStringList>
#include <QTreeView>
#include <optional>

namespace brevant {

class MainForm;
class InputListModel;

// The input list on screen: one column, one path a row. It passes the user's
// gestures (drops, Delete, double-click, pressing, moving and releasing the
// mouse button) to the window's behaviour, which carries out the row rules.
class InputListView : public QTreeView {
  Q_OBJECT

 public:
  explicit InputListView(QWidget* parent = nullptr);

  void setInputModel(InputListModel* model);
  void setForm(MainForm* form) { form_ = form; }
  // The pointer while a row is dragged.
  void setDragCursor(const QCursor& cursor) { dragCursor_ = cursor; }
  void showDragCursor(bool dragging);
  // The selected row, or -1.
  int selectedRow() const;

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
  std::optional<std::size_t> selected() const;
  std::optional<std::size_t> rowAt(const QPoint& position) const;

  InputListModel* model_ = nullptr;
  MainForm* form_ = nullptr;
  QCursor dragCursor_{Qt::DragMoveCursor};
};

// The local files among dropped data; empty when it holds none.
QStringList LocalPaths(const QMimeData* data);

}  // namespace brevant
