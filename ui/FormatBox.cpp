#include "ui/FormatBox.h"

#include <QAbstractItemView>
#include <QStyle>
#include <algorithm>

#include "catalog/Catalog.h"
#include "ui/Translate.h"
#include "ui/UiScale.h"

namespace quillo {

const char* const FormatBox::kVideoEntryText =
    " to VIDEO (3GP, AVI, FLV, MOV, MP4, MPEG, WMV, etc.)";
const char* const FormatBox::kVideoNotice =
    "Quillo converts to audio formats only.\n\nTo keep the sound of a video, choose one of the "
    "audio formats; video files can be added as sources.";

FormatBox::FormatBox(QWidget* parent, const std::vector<OutputFormat>& rows, int32_t& outputFormat,
                     std::function<void(const char*)> notify)
    : QComboBox(parent), outputFormat_(outputFormat), notify_(std::move(notify)) {
  setToolTip(Tr("Output format"));
  // A list that drops below the box and scrolls, not a menu over the window.
  setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  setMaxVisibleItems(16);
  filling_ = true;
  for (const OutputFormat& row : rows)
    addItem(QString::fromStdString(FormatListText(row)), row.formatId);
  addItem(QString::fromLatin1(kVideoEntryText), kVideoFormatId);
  // 300 pixels, or the longest entry where this font needs more.
  const int scrollBar = view()->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  view()->setMinimumWidth(std::max(Scaled(300), view()->sizeHintForColumn(0) + scrollBar + 4));
  setCurrentIndex(-1);
  SelectFormat(outputFormat_);
  filling_ = false;
  connect(this, &QComboBox::currentIndexChanged, this, &FormatBox::OnSelectionChanged);
  // A stored format this catalog lacks: the first entry, and its format.
  if (currentIndex() < 0) setCurrentIndex(0);
}

void FormatBox::SelectFormat(int32_t formatId) {
  const int index = formatId == kVideoFormatId ? -1 : findData(formatId);
  setCurrentIndex(index);
}

void FormatBox::OnSelectionChanged(int index) {
  if (filling_) return;
  if (index < 0) {
    outputFormat_ = format_id::kMp3;
    return;
  }
  const int32_t formatId = itemData(index).toInt();
  if (formatId != kVideoFormatId) {
    outputFormat_ = formatId;
    return;
  }
  notify_(kVideoNotice);
  filling_ = true;
  SelectFormat(outputFormat_);
  filling_ = false;
}

}  // namespace quillo
