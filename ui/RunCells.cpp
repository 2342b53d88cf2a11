#include "ui/RunCells.h"

#include <QHeaderView>

#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/ListColumns.h"
#include "ui/UiScale.h"

namespace quillo {

void RunCells::SetVolumeCell(size_t file, const std::string& text) {
  model_.SetVolumeCell(Row(file), text);
}

void RunCells::SetOutputCell(size_t file, const std::string& text) {
  model_.SetOutputCell(Row(file), text);
}

void RunCells::EnsureVisible(size_t file) {
  if (Row(file) >= 0) view_.ShowRow(Row(file));
}

void RunCells::WidenOutputColumn(int pixels) {
  if (outputWidth_ >= pixels) return;
  outputWidth_ = pixels;
  view_.header()->resizeSection(kOutputColumn, Scaled(pixels));
}

}  // namespace quillo
