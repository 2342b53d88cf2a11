#include "ui/PageWMAOptions.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "engine/WindowsMediaSupport.h"
#include "ui/Translate.h"

namespace quillo {

void CPageWMAOptions::Build() {
  QGroupBox* group = AddEncodingGroup();
  auto* box = new QVBoxLayout(group);
  formatList_ = List(group, "formatList");
  formatList_->setMaxVisibleItems(16);
  box->addWidget(Label(group, "&Encoding Options: (sample rate, bit rate, channels)", formatList_));
  box->addWidget(formatList_, 0, Qt::AlignLeft);

  formatList_->addItem(Tr("Auto (the program will choose the best options)"));
  int selected = values_.wmaAutoEncParam != 0 ? 0 : -1;
  if (EnsureWindowsMediaRuntime(runtime_, &prompts_)) {
    formats_ = ListedWindowsMediaFormats(*runtime_);
    for (const WindowsMediaFormat& format : formats_)
      formatList_->addItem(QStringLiteral("%1 Hz, %2 kbps, %3")
                               .arg(format.sampleRate)
                               .arg(format.bitRate / 1000)
                               .arg(format.channels == 1 ? Tr("Mono") : Tr("Stereo")));
    const int stored =
        FindListedFormat(formats_, values_.wmaSampleRate, values_.wmaBitRate, values_.wmaChannels);
    if (selected < 0 && stored >= 0) selected = stored + 1;
  }
  // A stored format the list lacks leaves nothing selected; OK then gives the
  // program's own choice.
  formatList_->setCurrentIndex(selected);
}

bool CPageWMAOptions::Leave() {
  const int index = formatList_->currentIndex();
  if (index <= 0) {
    values_.wmaAutoEncParam = 1;
    return true;
  }
  const WindowsMediaFormat& format = formats_[static_cast<size_t>(index - 1)];
  values_.wmaAutoEncParam = 0;
  values_.wmaSampleRate = format.sampleRate;
  values_.wmaBitRate = format.bitRate;
  values_.wmaChannels = format.channels;
  return true;
}

void CPageWMAOptions::Apply(ConversionSettings& s) const {
  CopyFields(s, values_, &ConversionSettings::wmaAutoEncParam, &ConversionSettings::wmaSampleRate,
             &ConversionSettings::wmaBitRate, &ConversionSettings::wmaChannels);
}

}  // namespace quillo
