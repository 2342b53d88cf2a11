#include "ui/FileListModel.h"

#include <algorithm>

#include "engine/FileItemText.h"
#include "engine/media/PathName.h"
#include "ui/ListColumns.h"
#include "ui/Translate.h"

namespace quillo {

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {
  paths_.reserve(3000);
}

FileListModel::~FileListModel() = default;

bool FileListModel::ContainsKey(const std::string& key) const { return paths_.count(key) != 0; }

int FileListModel::Append(FileItem item, const std::string& key) {
  const int row = Count();
  beginInsertRows({}, row, row);
  auto entry = std::make_unique<Row>();
  entry->item = std::move(item);
  entry->key = key;
  paths_.emplace(key, entry.get());
  rows_.push_back(std::move(entry));
  endInsertRows();
  return row;
}

std::string FileListModel::CellText(int row, int column) const {
  const Row& entry = *rows_[static_cast<size_t>(row)];
  const FileItem& item = entry.item;
  switch (column) {
    case kFileColumn:
      return RowName(item);
    case kDurationColumn:
      return DurationCell(item.duration);
    case kBitRateColumn:
      return BitRateCell(item.bitRate);
    case kSampleRateColumn:
      return SampleRateCell(item.sampleRate);
    case kChannelsColumn:
      return ChannelsCell(item.channels);
    case kVolumeColumn:
      return entry.volume;
    case kOutputColumn:
      return entry.output;
    default:
      return {};
  }
}

void FileListModel::SetCell(int row, int column, std::string Row::*cell, const std::string& text) {
  if (row < 0 || row >= Count()) return;
  std::string& current = (*rows_[static_cast<size_t>(row)]).*cell;
  if (current == text) return;
  current = text;
  const QModelIndex changed = index(row, column);
  emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void FileListModel::SetVolumeCell(int row, const std::string& text) {
  SetCell(row, kVolumeColumn, &Row::volume, text);
}

void FileListModel::SetOutputCell(int row, const std::string& text) {
  SetCell(row, kOutputColumn, &Row::output, text);
}

void FileListModel::RemoveRows(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  // From the last row up, one run of adjacent rows at a time.
  size_t i = 0;
  while (i < rows.size()) {
    const int last = rows[i];
    int first = last;
    while (i + 1 < rows.size() && rows[i + 1] == first - 1) first = rows[++i];
    ++i;
    if (first < 0 || last >= Count()) continue;
    beginRemoveRows({}, first, last);
    for (int row = first; row <= last; ++row) paths_.erase(rows_[static_cast<size_t>(row)]->key);
    rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
    endRemoveRows();
  }
}

void FileListModel::RemoveAll() {
  beginResetModel();
  rows_.clear();
  paths_.clear();
  endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(CellText(index.row(), index.column()));
    case Qt::ToolTipRole:
      // The whole source path, and the whole status where the column cuts it.
      // A large gain may not fit its cell either.
      if (index.column() == kFileColumn) return QString::fromStdString(Item(index.row()).path);
      if (index.column() == kOutputColumn || index.column() == kVolumeColumn)
        return QString::fromStdString(CellText(index.row(), index.column()));
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Column(index.column()).alignment);
    case kSortRole:
      return SortValue(index.row(), index.column());
    default:
      return {};
  }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  if (role == Qt::DisplayRole) return Tr(Column(section).heading);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Column(section).alignment);
  return {};
}

QVariant FileListModel::SortValue(int row, int column) const {
  const FileItem& item = Item(row);
  switch (column) {
    case kDurationColumn:
      return static_cast<double>(item.duration);
    case kBitRateColumn:
      return item.bitRate;
    case kSampleRateColumn:
      return item.sampleRate;
    default:
      return QString::fromStdString(CellText(row, column));
  }
}

void FileListModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kColumnCount) return;
  std::vector<QVariant> values;
  values.reserve(rows_.size());
  for (int row = 0; row < Count(); ++row) values.push_back(SortValue(row, column));
  const std::vector<int> sorted =
      SortedRows(values, Column(column).sortKind, order == Qt::DescendingOrder);

  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<std::unique_ptr<Row>> reordered;
  reordered.reserve(rows_.size());
  std::vector<int> newRow(rows_.size());
  for (size_t i = 0; i < sorted.size(); ++i) {
    newRow[static_cast<size_t>(sorted[i])] = static_cast<int>(i);
    reordered.push_back(std::move(rows_[static_cast<size_t>(sorted[i])]));
  }
  rows_ = std::move(reordered);
  // Selected and current rows move with their files.
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before)
    after.push_back(index(newRow[static_cast<size_t>(old.row())], old.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace quillo
