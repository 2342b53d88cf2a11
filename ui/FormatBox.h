#pragma once

#include <QComboBox>
#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <vector>

#include "catalog/OutputFormat.h"

namespace quillo {

// The output format box: one entry per catalog row in catalog order, then
// the "VIDEO" entry, which only explains that the outputs are audio and
// goes back to the format chosen before. Typing a format's first letters
// selects it, matched after the words every entry starts with (" to "); the
// tool tip shows the chosen entry whole, which the narrow box cuts.
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

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class FormatView;
  // The entry that the keys typed so far, `text` the last of them, select;
  // -1 when none matches. Typing the same letter again moves to the next
  // entry with that letter.
  int FindTyped(const QString& text, int current);
  void OnSelectionChanged(int index);
  void SelectFormat(int32_t formatId);

  int32_t& outputFormat_;
  std::function<void(const char*)> notify_;
  bool filling_ = false;
  QString sharedStart_;  // what every entry's text starts with
  QString typed_;
  QElapsedTimer lastKey_;
};

}  // namespace quillo
