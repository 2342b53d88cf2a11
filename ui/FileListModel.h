#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/FileItem.h"
#include "engine/media/FileList.h"

namespace quillo {

// The window's file list: one row per FileItem with the two cells a
// conversion writes, and the set of listed paths that refuses duplicates.
// Rows keep their address while they are listed, so a run may hold pointers
// to their items.
class FileListModel final : public QAbstractTableModel, public FileList {
  Q_OBJECT

 public:
  explicit FileListModel(QObject* parent = nullptr);
  ~FileListModel() override;

  // FileList: what ProbeFile appends to.
  bool ContainsKey(const std::string& key) const override;
  int Append(FileItem item, const std::string& key) override;

  int Count() const { return static_cast<int>(rows_.size()); }
  FileItem& Item(int row) { return rows_[static_cast<size_t>(row)]->item; }
  const FileItem& Item(int row) const { return rows_[static_cast<size_t>(row)]->item; }
  // The text a cell shows.
  std::string CellText(int row, int column) const;

  void SetVolumeCell(int row, const std::string& text);
  void SetOutputCell(int row, const std::string& text);

  // Removes the rows (any order, duplicates allowed) and their paths.
  void RemoveRows(std::vector<int> rows);
  void RemoveAll();

  // QAbstractTableModel
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  struct Row {
    FileItem item;
    std::string key;  // the path's entry in the path set
    std::string volume;
    std::string output;
  };

  void SetCell(int row, int column, std::string Row::*cell, const std::string& text);
  // What a cell sorts by (kSortRole).
  QVariant SortValue(int row, int column) const;

  std::vector<std::unique_ptr<Row>> rows_;
  std::unordered_map<std::string, Row*> paths_;
};

}  // namespace quillo
