#include "ui/PageWMAOptions.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "engine/WindowsMediaSupport.h"
#include "settings/ConversionSettings.h"

namespace quillo {

CPageWMAOptions::CPageWMAOptions(const ConversionSettings& s, WindowsMediaRuntime* runtime,
                                 UserPrompts& prompts)
    : OptionsPage(QStringLiteral("WMA/WMV/ASF")),
      runtime_(runtime),
      prompts_(prompts),
      autoEncParam_(s.wmaAutoEncParam),
      sampleRate_(s.wmaSampleRate),
      bitRate_(s.wmaBitRate),
      channels_(s.wmaChannels) {}

void CPageWMAOptions::Build() {
  QGroupBox* group = AddEncodingGroup();
  auto* box = new QVBoxLayout(group);
  formatList_ = new QComboBox(group);
  formatList_->setObjectName(QStringLiteral("formatList"));
  formatList_->setMaxVisibleItems(16);
  auto* label =
      new QLabel(QStringLiteral("&Encoding Options: (sample rate, bit rate, channels)"), group);
  label->setBuddy(formatList_);
  box->addWidget(label);
  box->addWidget(formatList_, 0, Qt::AlignLeft);

  formatList_->addItem(QStringLiteral("Auto (the program will choose the best options)"));
  int selected = autoEncParam_ != 0 ? 0 : -1;
  if (EnsureWindowsMediaRuntime(runtime_, &prompts_)) {
    formats_ = ListedWindowsMediaFormats(*runtime_);
    for (const WindowsMediaFormat& format : formats_)
      formatList_->addItem(
          QStringLiteral("%1 Hz, %2 kbps, %3")
              .arg(format.sampleRate)
              .arg(format.bitRate / 1000)
              .arg(format.channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo")));
    const int stored = FindListedFormat(formats_, sampleRate_, bitRate_, channels_);
    if (selected < 0 && stored >= 0) selected = stored + 1;
  }
  // A stored format the list lacks leaves nothing selected; OK then gives the
  // program's own choice.
  formatList_->setCurrentIndex(selected);
}

bool CPageWMAOptions::Leave() {
  const int index = formatList_->currentIndex();
  if (index <= 0) {
    autoEncParam_ = 1;
    return true;
  }
  const WindowsMediaFormat& format = formats_[static_cast<size_t>(index - 1)];
  autoEncParam_ = 0;
  sampleRate_ = format.sampleRate;
  bitRate_ = format.bitRate;
  channels_ = format.channels;
  return true;
}

void CPageWMAOptions::Apply(ConversionSettings& s) const {
  s.wmaAutoEncParam = autoEncParam_;
  s.wmaSampleRate = sampleRate_;
  s.wmaBitRate = bitRate_;
  s.wmaChannels = channels_;
}

}  // namespace quillo
