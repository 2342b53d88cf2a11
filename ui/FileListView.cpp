#include "ui/FileListView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "ui/FileListModel.h"
#include "ui/ListColumns.h"
#include "ui/UiScale.h"

namespace quillo {

FileListView::FileListView(QWidget* parent, FileListModel& model)
    : QTreeView(parent), model_(model) {
  setModel(&model);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAlternatingRowColors(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTextElideMode(Qt::ElideRight);
  setAcceptDrops(false);  // dropped files go to the window

  QHeaderView* heading = header();
  heading->setStretchLastSection(false);
  heading->setSectionsMovable(false);
  heading->setSectionsClickable(true);
  heading->setSortIndicatorShown(true);
  heading->setSortIndicator(-1, Qt::AscendingOrder);
  // A heading shows whole with its sort mark in any font; the "File" column,
  // which cuts its texts and shows them whole in tool tips, gives the room.
  int extra = 0;
  for (int column = 0; column < kColumnCount; ++column) {
    int width = Scaled(Column(column).width);
    if (column != kFileColumn && column != kOutputColumn) {
      const int needed = heading->sectionSizeHint(column);
      if (needed > width) {
        extra += needed - width;
        width = needed;
      }
    }
    heading->resizeSection(column, width);
  }
  heading->resizeSection(kFileColumn, std::max(Scaled(Column(kFileColumn).width) - extra,
                                               Scaled(Column(kFileColumn).width) / 2));
  connect(heading, &QHeaderView::sectionClicked, this, &FileListView::SortByColumn);
}

std::vector<int> FileListView::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void FileListView::SortByColumn(int column) {
  const bool ascending = !(column == sortedColumn_ && sortedAscending_);
  sortedColumn_ = column;
  sortedAscending_ = ascending;
  const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
  header()->setSortIndicator(column, order);
  model_.sort(column, order);
}

void FileListView::ShowRow(int row) { scrollTo(model_.index(row, 0)); }

void FileListView::contextMenuEvent(QContextMenuEvent* event) {
  const QPoint position = event->reason() == QContextMenuEvent::Mouse
                              ? event->globalPos()
                              : viewport()->mapToGlobal(viewport()->rect().center());
  emit menuRequested(position);
  event->accept();
}

void FileListView::keyPressEvent(QKeyEvent* event) {
  const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
  const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
  if (!menuKey && !shiftF10) return QTreeView::keyPressEvent(event);
  // Accepted, so that the desktop does not open the menu a second time.
  event->accept();
  emit menuRequested(viewport()->mapToGlobal(viewport()->rect().center()));
}

}  // namespace quillo
