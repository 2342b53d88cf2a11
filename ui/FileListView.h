#pragma once

#include <QTreeView>
#include <vector>

namespace quillo {

class FileListModel;

// The report view of the file list: full-row selection of several rows, the
// columns' widths, and sorting by a click on a heading (the same heading
// twice: ascending, then descending).
class FileListView final : public QTreeView {
  Q_OBJECT

 public:
  FileListView(QWidget* parent, FileListModel& model);

  // The selected rows, first row first.
  std::vector<int> SelectedRows() const;
  void SortByColumn(int column);
  // Makes a row visible without moving the selection.
  void ShowRow(int row);

 signals:
  // The context menu: at the mouse, or at the list's centre from the keyboard.
  void menuRequested(const QPoint& globalPosition);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  // The Menu key and Shift+F10 open the context menu, as on every desktop.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  FileListModel& model_;
  int sortedColumn_ = -1;
  bool sortedAscending_ = false;
};

}  // namespace quillo
