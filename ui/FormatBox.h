#pragma once

#include <QComboBox>
#include <functional>
#include <vector>

#include "catalog/OutputFormat.h"

namespace quillo {

// The output format box: one entry per catalog row in catalog order, then
// the "VIDEO" entry, which only explains that the outputs are audio and
// goes back to the format chosen before.
class FormatBox final : public QComboBox {
  Q_OBJECT

 public:
  static constexpr int32_t kVideoFormatId = 10000;
  static const char* const kVideoEntryText;
  static const char* const kVideoNotice;

  // `notify` shows the notice; `outputFormat` is the settings' value the box
  // reads and keeps up to date.
  FormatBox(QWidget* parent, const std::vector<OutputFormat>& rows, int32_t& outputFormat,
            std::function<void(const char*)> notify);

 private:
  void OnSelectionChanged(int index);
  void SelectFormat(int32_t formatId);

  int32_t& outputFormat_;
  std::function<void(const char*)> notify_;
  bool filling_ = false;
};

}  // namespace quillo
