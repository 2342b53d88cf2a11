#include "ui/FormatBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
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

// The open list: typing in it selects as typing in the closed box does.
class FormatView final : public QListView {
 public:
  explicit FormatView(FormatBox& box) : box_(box) {}
  void keyboardSearch(const QString& text) override {
    const int index = box_.FindTyped(text, currentIndex().row());
    if (index >= 0) setCurrentIndex(model()->index(index, 0));
  }

 private:
  FormatBox& box_;
};

FormatBox::FormatBox(QWidget* parent, const std::vector<OutputFormat>& rows, int32_t& outputFormat,
                     std::function<void(const char*)> notify)
    : QComboBox(parent), outputFormat_(outputFormat), notify_(std::move(notify)) {
  // A list that drops below the box and scrolls, not a menu over the window.
  setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  setView(new FormatView(*this));
  setMaxVisibleItems(16);
  filling_ = true;
  for (const OutputFormat& row : rows)
    addItem(QString::fromStdString(FormatListText(row)), row.formatId);
  addItem(QString::fromLatin1(kVideoEntryText), kVideoFormatId);
  sharedStart_ = itemText(0);
  for (int i = 1; i < count(); ++i)
    while (!itemText(i).startsWith(sharedStart_)) sharedStart_.chop(1);
  connect(this, &QComboBox::currentIndexChanged, this,
          [this](int index) { setToolTip(itemText(index).trimmed()); });
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

int FormatBox::FindTyped(const QString& text, int current) {
  if (!lastKey_.isValid() || lastKey_.elapsed() > QApplication::keyboardInputInterval())
    typed_.clear();
  lastKey_.restart();
  typed_ += text;
  // "fff" steps through the entries with "f"; "fl" narrows to "FLAC".
  const bool stepping = typed_.count(typed_.front()) == typed_.size();
  const QString wanted = stepping ? typed_.left(1) : typed_;
  const int start = stepping ? current + 1 : std::max(current, 0);
  for (int i = 0; i < count(); ++i) {
    const int index = (start + i) % count();
    if (itemText(index).mid(sharedStart_.size()).startsWith(wanted, Qt::CaseInsensitive))
      return index;
  }
  return -1;
}

void FormatBox::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const bool typing = (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0 &&
                      !text.isEmpty() && text.front().isPrint() && !text.front().isSpace();
  if (!typing) return QComboBox::keyPressEvent(event);
  event->accept();
  const int index = FindTyped(text, currentIndex());
  if (index >= 0) setCurrentIndex(index);
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
