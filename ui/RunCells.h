#pragma once

#include <vector>

#include "engine/RunResult.h"

namespace quillo {

class FileListModel;
class FileListView;

// The cells a run writes, shown in the rows its files came from.
class RunCells final : public RunListView {
 public:
  // `rows[i]` is the row of the run's file i. `outputWidth` is the window's
  // remembered width of the "Output" column: a run widens it only past it.
  RunCells(FileListModel& model, FileListView& view, std::vector<int> rows, int& outputWidth)
      : model_(model), view_(view), rows_(std::move(rows)), outputWidth_(outputWidth) {}

  void SetVolumeCell(size_t file, const std::string& text) override;
  void SetOutputCell(size_t file, const std::string& text) override;
  void EnsureVisible(size_t file) override;
  void WidenOutputColumn(int pixels) override;

 private:
  int Row(size_t file) const { return file < rows_.size() ? rows_[file] : -1; }

  FileListModel& model_;
  FileListView& view_;
  std::vector<int> rows_;
  int& outputWidth_;
};

}  // namespace quillo
